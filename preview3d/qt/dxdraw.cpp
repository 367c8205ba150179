#include "preview3d/qt/dxdraw.h"

#include <QMouseEvent>
#include <cmath>

#include "preview3d/qt/dxdraw_renderer.h"
#include "preview3d/qt/dxdraw_surface.h"

namespace facetor {

DXDraw::DXDraw(HandlerGuard guard, QWidget* parent) : QWidget(parent), guard_(std::move(guard))
{
    setObjectName(QStringLiteral("DXDraw"));
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    if (DXDrawSurface::available()) {
        surface_ = new DXDrawSurface(guard_, this);
        surface_->setGeometry(rect());
    }
    renderer_ = std::make_unique<DXDrawRenderer>(*this, surface_, guard_);
    if (surface_) {
        surface_->set_renderer(renderer_.get());
    }
}

DXDraw::~DXDraw()
{
    // The scene's OpenGL objects go while the context is still there.
    if (surface_) {
        surface_->makeCurrent();
    }
    renderer_.reset();
    if (surface_) {
        surface_->set_renderer(nullptr);
        surface_->doneCurrent();
    }
}

void DXDraw::DXDrawInitialize(type_model& model)
{
    renderer_->build(model);
}

void DXDraw::D3DRMRender()
{
    renderer_->render();
}

void DXDraw::repaint_scene()
{
    renderer_->render_without_flip();
}

void DXDraw::finalize()
{
    renderer_->finalize();
}

QImage DXDraw::grabFramebuffer()
{
    if (surface_) {
        return surface_->grabFramebuffer();
    }
    const double ratio = devicePixelRatioF();
    QImage black(static_cast<int>(std::lround(width() * ratio)),
                 static_cast<int>(std::lround(height() * ratio)), QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
}

void DXDraw::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (surface_) {
        surface_->setGeometry(rect());
    }
}

void DXDraw::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    guard_([&] { DXDrawMouseDown(event->modifiers() & Qt::ShiftModifier, at.x(), at.y()); });
    if (event->button() == Qt::LeftButton) {
        left_pressed_inside_ = true;
    }
}

void DXDraw::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    guard_([&] { DXDrawMouseMove(at.x(), at.y()); });
}

void DXDraw::mouseReleaseEvent(QMouseEvent* event)
{
    guard_([&] { DXDrawMouseUp(); });
    if (event->button() == Qt::LeftButton) {
        const bool inside = rect().contains(event->position().toPoint());
        const bool was_pressed = left_pressed_inside_;
        left_pressed_inside_ = false;
        if (was_pressed && inside) {
            emit clicked();
        }
    }
}

void DXDraw::DXDrawMouseDown(bool shift, int x, int y)
{
    press_view3d(mouse_, shift, x, y);
}

void DXDraw::DXDrawMouseMove(int x, int y)
{
    const View3DStep step = move_view3d(mouse_, x, y);
    if (step.depth_caption) {
        emit depth_changed(mouse_.view3d_depth);
    }
    renderer_->step(step);
}

void DXDraw::DXDrawMouseUp()
{
    release_view3d(mouse_);
}

} // namespace facetor
