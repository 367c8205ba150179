#pragma once
// The OpenGL part of the 3D view: a thin forwarder of the GL events to the
// renderer. It only exists where the display can give widgets OpenGL.
#include <QOpenGLWidget>

namespace facetor {

class DXDrawRenderer;

class DXDrawSurface final : public QOpenGLWidget {
  public:
    explicit DXDrawSurface(QWidget* parent);
    void set_renderer(DXDrawRenderer* renderer) { renderer_ = renderer; }

    // Whether this display lets a widget draw with OpenGL.
    static bool available();

  protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

  private:
    DXDrawRenderer* renderer_ = nullptr;
};

} // namespace facetor
