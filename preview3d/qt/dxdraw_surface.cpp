#include "preview3d/qt/dxdraw_surface.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QStringList>

#include "preview3d/qt/dxdraw_renderer.h"

namespace facetor {

DXDrawSurface::DXDrawSurface(HandlerGuard guard, QWidget* parent)
    : QOpenGLWidget(parent), guard_(std::move(guard))
{
    setObjectName(QStringLiteral("DXDrawSurface"));
    // The view around it takes the mouse.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

bool DXDrawSurface::available()
{
    // These platforms may make a context, yet cannot put an OpenGL widget
    // into a window; the toolkit then fails inside its own painting. So we
    // never create one there, nor where no context can be made at all.
    static const QStringList no_gl_widgets{"offscreen", "minimal", "linuxfb", "vnc"};
    if (no_gl_widgets.contains(QGuiApplication::platformName())) {
        return false;
    }
    QOpenGLContext probe;
    return probe.create();
}

void DXDrawSurface::forward(void (DXDrawRenderer::*gl_event)())
{
    if (DXDrawRenderer* renderer = renderer_) {
        guard_([renderer, gl_event] { (renderer->*gl_event)(); });
    }
}

void DXDrawSurface::initializeGL()
{
    forward(&DXDrawRenderer::initialize_gl);
}

void DXDrawSurface::resizeGL(int, int)
{
    forward(&DXDrawRenderer::resize_gl);
}

void DXDrawSurface::paintGL()
{
    forward(&DXDrawRenderer::paint_gl);
}

} // namespace facetor
