#pragma once
// The OpenGL part of the 3D view: a thin forwarder of the GL events to the
// renderer. It only exists where the display can give widgets OpenGL.
#include <QOpenGLWidget>

#include "uisupport/handler_guard.h"

namespace facetor {

class DXDrawRenderer;

class DXDrawSurface final : public QOpenGLWidget {
  public:
    // The GL events run through `guard`, the view's error guard.
    DXDrawSurface(HandlerGuard guard, QWidget* parent);
    void set_renderer(DXDrawRenderer* renderer) { renderer_ = renderer; }

    // Whether this display lets a widget draw with OpenGL.
    static bool available();

  protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

  private:
    void forward(void (DXDrawRenderer::*gl_event)());

    HandlerGuard guard_;
    DXDrawRenderer* renderer_ = nullptr;
};

} // namespace facetor
