#include "editing/qt/property_grid.h"

#include <QHeaderView>
#include <QLineEdit>

#include "editing/qt/side_panel.h"
#include "uisupport/ui_font.h"

namespace facetor {

PropertyGrid::PropertyGrid(int rows, bool typing, QWidget* parent) : QTableWidget(rows, 2, parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setDefaultSectionSize(SidePanel::k_column_width);
    verticalHeader()->setDefaultSectionSize(SidePanel::k_row_height);
    setColumnWidth(0, SidePanel::k_column_width);
    setColumnWidth(1, SidePanel::k_column_width);
    setShowGrid(true);
    setWordWrap(false);
    // A text too long for its cell is cut at the edge and shows whole as a tooltip.
    setItemDelegate(new FittingItemDelegate(this));
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(typing
                        ? QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                              QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                        : QAbstractItemView::NoEditTriggers);

    // The label column can be pressed (the "+" rows) but neither selected
    // nor typed into; which value cells take typing depends on the model.
    for (int row = 0; row < rows; ++row) {
        auto* label = new QTableWidgetItem;
        label->setFlags(Qt::ItemIsEnabled);
        setItem(row, 0, label);
        auto* value = new QTableWidgetItem;
        value->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, 1, value);
    }
}

void PropertyGrid::set_row_typing(int row, bool typing)
{
    QTableWidgetItem* value = item(row, 1);
    const Qt::ItemFlags flags = typing
                                    ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                    : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (value != nullptr && value->flags() != flags) {
        value->setFlags(flags);
    }
}

QWidget* PropertyGrid::open_editor() const
{
    if (!editing()) {
        return nullptr;
    }
    for (int row = 0; row < rowCount(); ++row) {
        if (QWidget* editor = indexWidget(model()->index(row, 1))) {
            return editor;
        }
    }
    return nullptr;
}

bool PropertyGrid::is_editor(const QWidget* widget) const
{
    return widget != nullptr && widget == open_editor();
}

void PropertyGrid::discard_edit()
{
    if (QWidget* editor = open_editor()) {
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
    }
}

void PropertyGrid::commit_edit()
{
    if (QWidget* editor = open_editor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void PropertyGrid::commitData(QWidget* editor)
{
    // The item keeps the stored value: the text goes to whoever applies it.
    const auto* line = qobject_cast<const QLineEdit*>(editor);
    for (int row = 0; line != nullptr && row < rowCount(); ++row) {
        if (indexWidget(model()->index(row, 1)) == editor) {
            committed_.emplace(row, line->text());
            return;
        }
    }
}

void PropertyGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    std::optional<std::pair<int, QString>> committed = std::exchange(committed_, std::nullopt);
    // Moving on to the next cell after Enter is not a grid's way here.
    QTableWidget::closeEditor(editor, hint == QAbstractItemDelegate::EditNextItem ||
                                              hint == QAbstractItemDelegate::EditPreviousItem
                                          ? QAbstractItemDelegate::NoHint
                                          : hint);
    if (committed && hint != QAbstractItemDelegate::RevertModelCache) {
        emit cell_edited(committed->first, committed->second);
    }
}

} // namespace facetor
