#include "uisupport/ui_font.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QStyleOptionButton>
#include <QToolTip>

namespace facetor {

QFont ui_font()
{
    QFont font(QString::fromLatin1(k_ui_font_family));
    font.setPixelSize(k_ui_font_pixels); // the layouts are in pixels, whatever the screen's DPI
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void use_ui_font(QWidget* widget)
{
    widget->setFont(ui_font());
}

bool text_fits(const QFont& font, const QString& text, int room)
{
    return QFontMetrics(font).horizontalAdvance(text) <= room;
}

int caption_room(const QAbstractButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    option.rect = button.rect();
    const QStyle* style = button.style();
    if (button.inherits("QRadioButton")) {
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, &button).width();
    }
    if (button.inherits("QCheckBox")) {
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, &button).width();
    }
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, &button);
    return style->subElementRect(QStyle::SE_PushButtonContents, &option, &button).width() - margin;
}

int caption_room(const QLabel& label)
{
    return label.contentsRect().width() - 2 * label.margin();
}

void tip_if_cut(QAbstractButton& button)
{
    const bool fits = text_fits(button.font(), button.text(), caption_room(button));
    button.setToolTip(fits ? QString() : button.text());
}

void tip_if_cut(QLabel& label)
{
    const bool fits = text_fits(label.font(), label.text(), caption_room(label));
    label.setToolTip(fits ? QString() : label.text());
}

void FittingItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    item.text.clear(); // the style draws background, selection and focus
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : nullptr;
    if (style == nullptr) {
        return;
    }
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    const QRect room = option.rect.adjusted(k_cell_margin, 0, -k_cell_margin, 0);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setClipRect(room);
    painter->drawText(room, static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter), text);
    painter->restore();
}

bool FittingItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text_fits(option.font, text, text_room(option.rect.width()))) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
    }
    return true;
}

} // namespace facetor
