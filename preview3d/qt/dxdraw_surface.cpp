#include "preview3d/qt/dxdraw_surface.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QStringList>

#include "preview3d/qt/dxdraw_renderer.h"

namespace facetor {

DXDrawSurface::DXDrawSurface(QWidget* parent) : QOpenGLWidget(parent)
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

void DXDrawSurface::initializeGL()
{
    if (renderer_) {
        renderer_->initialize_gl();
    }
}

void DXDrawSurface::resizeGL(int, int)
{
    if (renderer_) {
        renderer_->resize_gl();
    }
}

void DXDrawSurface::paintGL()
{
    if (renderer_) {
        renderer_->paint_gl();
    }
}

} // namespace facetor
