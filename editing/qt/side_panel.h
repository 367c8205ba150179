#pragma once
// The left side panel "Base": the geoset caption strip and the three stacked
// pages of the edit modes, each with its caption strip and property grid.
// It only shows what the editing core computes and reports focus and presses.
#include <QColor>
#include <QWidget>

#include "editing/edit_modes.h"
#include "editing/panels.h"
#include "editing/qt/property_grid.h"
#include "model/model.h"

class QLabel;
class QLineEdit;

namespace facetor {

class SidePanel : public QWidget {
    Q_OBJECT
  public:
    static constexpr int k_width = 165;
    static constexpr int k_strip_height = 16;
    static constexpr int k_column_width = 80;
    static constexpr int k_row_height = 15;

    explicit SidePanel(QWidget* parent = nullptr);

    // FormCreate: writes the row labels into column 0 of the three grids.
    void write_row_labels();

    // Step 3 of a mode switch: lowers the two other pages in the table's
    // order, then raises the mode's page.
    void show_page(EditMode mode);

    // Writes the caption and column 1 of the page the content belongs to; an
    // open cell editor on that grid is dropped first.
    void show_panel_content(const PanelContent& content);

    // refresh_panels: the current mode's page from the model, with the
    // user's decimal separator, and which of its cells take typing. An
    // unknown mode writes nothing.
    void refresh_panels(const type_model& model, EditMode mode);

    // Hands the text of an open cell editor on (cell_edited), as leaving
    // the cell does: commands run after the text is applied.
    void commit_edit();
    // Whether `widget` is the open cell editor of one of the grids.
    bool is_cell_editor(const QWidget* widget) const;

    // The background of the geoset caption strip (red while the panel is
    // marked, the button-face colour otherwise).
    void set_geoset_colour(const QColor& colour);
    QColor geoset_colour() const;

    // The decimal separator of the system locale as one 8-bit character;
    // '.' where the locale's separator is not one.
    static char decimal_point();

    QLabel* geoset_num() const { return geoset_num_; }
    QLineEdit* focuser() const { return focuser_; }
    QWidget* page(Page page) const;
    QLabel* caption(Page page) const;
    PropertyGrid* grid(Page page) const;
    // The page that is in front now, by the widgets' actual stacking order.
    QWidget* front_page() const;

  signals:
    // m_propEnter: one of the three grids received the keyboard focus.
    void grid_focused();
    // BaseMouseDown: a press, any button, on the panel's own background.
    void base_pressed();
    // m_propMouseDown / f_propMouseDown (and the same for v_prop): a press,
    // any button, on a grid. `col` and `row` are the cell under the pointer,
    // -1 outside every cell; `pos` is in the grid's viewport pixels.
    void grid_pressed(facetor::Page page, int col, int row, QPoint pos, Qt::MouseButton button,
                      Qt::KeyboardModifiers modifiers);
    // The text typed into the value cell of `row`, as the user left it
    // (Enter, another cell or control, a command); Escape sends none.
    void cell_edited(facetor::Page page, int row, const QString& text);
    // refresh_panels ran: the selection, the mode or the model may have
    // changed, and with them what the commands can act on.
    void refreshed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct PageWidgets {
        QWidget* page = nullptr;
        QLabel* caption = nullptr;
        PropertyGrid* grid = nullptr;
    };

    PageWidgets make_page(Page page, const char* page_name, const char* caption_name,
                          const char* caption_text, const char* grid_name, int rows, bool typing);
    void lay_out_pages();
    const PageWidgets& widgets(Page page) const;

    QLabel* geoset_num_ = nullptr;
    QLineEdit* focuser_ = nullptr;
    PageWidgets mesh_;
    PageWidgets face_;
    PageWidgets vertex_;
};

} // namespace facetor
