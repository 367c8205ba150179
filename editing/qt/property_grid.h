#pragma once
// A property grid: two columns of 80, rows of 15, column 0 a fixed label
// column, column 1 the values. Only the rows that take typing open a cell
// editor. The grid never stores a typed text itself: Enter, leaving the
// cell or commit_edit() hand it on as cell_edited, Escape drops it, and the
// cell keeps showing what the last refresh wrote until the next one.
#include <QAbstractItemDelegate>
#include <QTableWidget>
#include <optional>
#include <utility>

namespace facetor {

class PropertyGrid : public QTableWidget {
    Q_OBJECT
  public:
    // `typing`: whether some of its value cells may take typing.
    PropertyGrid(int rows, bool typing, QWidget* parent);

    // Whether the value cell of `row` opens a cell editor.
    void set_row_typing(int row, bool typing);

    // Closes the cell editor, if one is open, and throws its text away.
    void discard_edit();
    // Closes the cell editor, if one is open, handing its text on.
    void commit_edit();

    // Whether a cell editor is open.
    bool editing() const { return state() == QAbstractItemView::EditingState; }
    // Whether `widget` is the open cell editor.
    bool is_editor(const QWidget* widget) const;

  signals:
    // The text of the value cell of `row` as the user left it.
    void cell_edited(int row, const QString& text);

  protected:
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    QWidget* open_editor() const;

    // What commitData took, handed on once the editor is closed, so that
    // whatever the receiver does (a refresh) finds no editor open.
    std::optional<std::pair<int, QString>> committed_;
};

} // namespace facetor
