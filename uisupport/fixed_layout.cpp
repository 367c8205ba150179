#include "uisupport/fixed_layout.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

#include "uisupport/tool_window.h"

namespace facetor {

FixedLayout::FixedLayout(QWidget& window, QSize design)
    : window_(window), design_(design), page_(new QWidget(&window))
{
    page_->setObjectName(QStringLiteral("Page"));
    page_->setFixedSize(design);
    window.setFixedSize(design);
}

void FixedLayout::keep_in_view(const std::vector<QPushButton*>& buttons)
{
    for (QPushButton* button : buttons) {
        buttons_.emplace_back(button, button->geometry());
    }
}

void FixedLayout::fit()
{
    const QSize room = room_on_screen(window_);
    if (design_.width() <= room.width() && design_.height() <= room.height()) {
        unscroll();
        window_.setFixedSize(design_);
    } else {
        scroll(room);
    }
}

void FixedLayout::scroll(QSize room)
{
    if (scroll_ == nullptr) {
        scroll_ = new QScrollArea(&window_);
        scroll_->setObjectName(QStringLiteral("PageScroll"));
        scroll_->setFrameShape(QFrame::NoFrame);
        scroll_->setWidget(page_);
        button_row_ = new QWidget(&window_);
        button_row_->setObjectName(QStringLiteral("ButtonRow"));
        auto* row = new QHBoxLayout(button_row_);
        row->setContentsMargins(4, 4, 4, 4);
        row->addStretch();
        for (const auto& [button, place] : buttons_) {
            button->setFixedSize(place.size());
            row->addWidget(button);
        }
        scroll_->show();
        button_row_->show();
    }
    const int row_height = button_row_->sizeHint().height();
    // Room for the page and its scroll bars, as far as the screen allows.
    const int bars = scroll_->verticalScrollBar()->sizeHint().width();
    const QSize size = QSize(design_.width() + bars, design_.height() + bars + row_height)
                           .boundedTo(room)
                           .expandedTo(QSize(1, row_height + 1));
    window_.setFixedSize(size);
    scroll_->setGeometry(0, 0, size.width(), size.height() - row_height);
    button_row_->setGeometry(0, size.height() - row_height, size.width(), row_height);
}

void FixedLayout::unscroll()
{
    if (scroll_ == nullptr) {
        return;
    }
    scroll_->takeWidget();
    page_->setParent(&window_);
    page_->move(0, 0);
    for (const auto& [button, place] : buttons_) {
        button->setParent(page_);
        button->setGeometry(place);
        button->show();
    }
    page_->show();
    delete scroll_;
    delete button_row_;
    scroll_ = nullptr;
    button_row_ = nullptr;
}

} // namespace facetor
