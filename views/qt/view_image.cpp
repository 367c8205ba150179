#include "views/qt/view_image.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <utility>

#include "views/canvas.h"

namespace facetor {

ViewImage::ViewImage(const PixelImage& image, QWidget* parent) : QWidget(parent), image_(image)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true); // the status bar follows the pointer without a button held
}

void ViewImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (image_.width() > 0 && image_.height() > 0) {
        // Wraps the pixels without copying them.
        QImage view(reinterpret_cast<const uchar*>(image_.data()), image_.width(), image_.height(),
                    image_.width() * 4, QImage::Format_RGB32);
        // The picture has the screen's pixels: shown one to one, not scaled.
        view.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(0, 0, view);
    }
}

void ViewImage::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        left_pressed_inside_ = true;
    }
    emit pressed(p.x(), p.y(), event->modifiers());
}

void ViewImage::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    emit moved(p.x(), p.y());
}

void ViewImage::mouseReleaseEvent(QMouseEvent* event)
{
    emit released();
    if (event->button() == Qt::LeftButton) {
        const bool was_pressed = std::exchange(left_pressed_inside_, false);
        if (was_pressed && rect().contains(event->position().toPoint())) {
            emit clicked();
        }
    }
}

} // namespace facetor
