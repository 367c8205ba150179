#pragma once
// Shows one orthographic view's picture, drawn in the screen's own pixels,
// at the widget's top left, and forwards the pointer events the main window
// handles, in the widget's pixels.
#include <QWidget>

namespace facetor {

class PixelImage;

class ViewImage : public QWidget {
    Q_OBJECT
  public:
    ViewImage(const PixelImage& image, QWidget* parent = nullptr);

  signals:
    void pressed(int x, int y, Qt::KeyboardModifiers modifiers);
    void moved(int x, int y);
    void released();
    void clicked(); // a left press and its release, both inside the widget

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const PixelImage& image_;
    bool left_pressed_inside_ = false;
};

} // namespace facetor
