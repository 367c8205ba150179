#include "preview3d/qt/dxdraw.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
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
    // The paint covers every pixel: the picture, black where there is none.
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (DXDrawSurface::available()) {
        surface_ = std::make_unique<DXDrawSurface>();
    }
    renderer_ = std::make_unique<DXDrawRenderer>(*this, surface_.get());
}

DXDraw::~DXDraw()
{
    // The scene's OpenGL objects go while the context is still there.
    renderer_.reset();
}

void DXDraw::DXDrawInitialize(type_model& model)
{
    renderer_->build(model);
}

void DXDraw::rebuild_scene(type_model& model)
{
    renderer_->rebuild(model);
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

void DXDraw::gl_event(void (DXDrawRenderer::*handler)())
{
    // The renderer, not this widget, goes into the guarded body: it may run
    // while the widget is being destroyed.
    DXDrawRenderer* renderer = renderer_.get();
    guard_([renderer, handler] { (renderer->*handler)(); });
}

QImage DXDraw::grabFramebuffer()
{
    gl_event(&DXDrawRenderer::paint_gl);
    if (const QImage& picture = renderer_->picture(); !picture.isNull()) {
        return picture.copy();
    }
    const double ratio = devicePixelRatioF();
    QImage black(static_cast<int>(std::lround(width() * ratio)),
                 static_cast<int>(std::lround(height() * ratio)), QImage::Format_RGB32);
    black.fill(Qt::black);
    return black;
}

void DXDraw::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    gl_event(&DXDrawRenderer::initialize_gl);
}

void DXDraw::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    gl_event(&DXDrawRenderer::resize_gl);
}

void DXDraw::paintEvent(QPaintEvent* event)
{
    gl_event(&DXDrawRenderer::paint_gl);
    QPainter painter(this);
    const QImage& picture = renderer_->picture();
    QRegion background(event->rect());
    if (!picture.isNull()) {
        painter.drawImage(0, 0, picture);
        background -= QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize());
    }
    for (const QRect& r : background) {
        painter.fillRect(r, Qt::black);
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
