#pragma once
// The fixed layout of a small tool window (the option chooser, the texture
// picker), drawn at a design size: its controls sit on a page of that size.
// On a screen whose working area is smaller (a large scale factor, a small
// screen) the window shrinks to fit: the page scrolls, and the buttons that
// close the window stay in view in a row below it.
#include <QRect>
#include <QSize>
#include <vector>

class QPushButton;
class QScrollArea;
class QWidget;

namespace facetor {

class FixedLayout {
  public:
    // Makes the page, a child of `window` of the `design` size.
    FixedLayout(QWidget& window, QSize design);

    // The parent of the window's controls, at their design places.
    QWidget* page() const { return page_; }
    // The buttons kept in view when the page scrolls, in their order.
    void keep_in_view(const std::vector<QPushButton*>& buttons);
    // Fits the window to the screen it is about to show on; call from its
    // show event, before centring it.
    void fit();
    // Whether the page scrolls now.
    bool scrolling() const { return scroll_ != nullptr; }

  private:
    void scroll(QSize room);
    void unscroll();

    QWidget& window_;
    QSize design_;
    QWidget* page_;
    QScrollArea* scroll_ = nullptr;
    QWidget* button_row_ = nullptr;
    std::vector<std::pair<QPushButton*, QRect>> buttons_; // and their design places
};

} // namespace facetor
