#include "preview3d/qt/dxdraw_surface.h"

#include <QGuiApplication>
#include <QStringList>

namespace facetor {

DXDrawSurface::DXDrawSurface()
{
    // Depth comes from the renderer's own off-screen framebuffer.
    QSurfaceFormat format = QSurfaceFormat::defaultFormat();
    format.setDepthBufferSize(0);
    format.setStencilBufferSize(0);
    surface_.setFormat(format);
    context_.setFormat(format);
}

bool DXDrawSurface::available()
{
    // These platforms put no OpenGL on a screen (the offscreen one may still
    // make contexts over some display's GLX): the view counts them as
    // without a 3D device, like a display where no context can be made.
    static const QStringList no_gl_widgets{"offscreen", "minimal", "linuxfb", "vnc"};
    if (no_gl_widgets.contains(QGuiApplication::platformName())) {
        return false;
    }
    QOpenGLContext probe;
    return probe.create();
}

bool DXDrawSurface::create()
{
    if (created()) {
        return true;
    }
    surface_.create();
    return surface_.isValid() && context_.create();
}

} // namespace facetor
