#pragma once
// The UI font of the fixed layouts. The grids (cells 80 x 15), the option
// chooser (options 137 x 17) and the texture picker (fields and buttons 17
// high, list items 13 high) were drawn for a small, narrow font; the
// desktop's default cuts their texts. One font serves them all and their
// caption strips, and a text that still cannot fit shows whole as a tooltip.
#include <QFont>
#include <QStyledItemDelegate>

class QAbstractButton;
class QLabel;

namespace facetor {

// The family and pixel size of that font, the smallest size still easy to read.
inline constexpr const char* k_ui_font_family = "Nimbus Sans Narrow";
inline constexpr int k_ui_font_pixels = 11;

QFont ui_font();

// Gives `widget` and its children the UI font.
void use_ui_font(QWidget* widget);

// Whether `text` fits `room` pixels in `font`.
bool text_fits(const QFont& font, const QString& text, int room);

// The room a button's caption has beside its indicator or inside its bevel.
int caption_room(const QAbstractButton& button);
// The room of a label's text inside its frame.
int caption_room(const QLabel& label);

// Shows the whole caption as the control's tooltip when it does not fit;
// no tooltip when it does. Callers run it after each change of the text.
void tip_if_cut(QAbstractButton& button);
void tip_if_cut(QLabel& label);

// Item views of the fixed layouts: the text of each cell drawn with a
// margin of k_cell_margin on both sides (the style's own margin is wider
// than the longest row label allows), and a cell whose text is cut shows
// it whole as its tooltip.
class FittingItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    static constexpr int k_cell_margin = 2;
    // The room for text in an item `item_width` wide (a table's items
    // exclude its grid lines).
    static int text_room(int item_width) { return item_width - 2 * k_cell_margin; }

    explicit FittingItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace facetor
