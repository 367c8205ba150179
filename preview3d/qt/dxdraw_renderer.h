#pragma once
// What the 3D view widget forwards to: the view component and its scene on
// the widget's OpenGL context. OpenGL comes late in a widget's life (at its
// first show), so a device may be made before it: it then only checks that
// a context can be had at all, and gets its surface once OpenGL is ready.
#include <QMetaObject>

#include "uisupport/handler_guard.h"
#include "model/model.h"
#include "preview3d/scene_build.h"
#include "preview3d/view3d.h"
#include "preview3d/view3d_mouse.h"

class QOpenGLWidget;
class QWidget;

namespace facetor {

class GlSceneRenderer;

class DXDrawRenderer final : public View3DPlatform {
  public:
    // `view` gives the size; `gl` draws, and is null where the display
    // offers no OpenGL for widgets (then there is never a device). The
    // context's signal runs through `guard`, the view's error guard.
    DXDrawRenderer(QWidget& view, QOpenGLWidget* gl, HandlerGuard guard);
    ~DXDrawRenderer() override;
    DXDrawRenderer(const DXDrawRenderer&) = delete;
    DXDrawRenderer& operator=(const DXDrawRenderer&) = delete;

    // The widget's GL events, called with its context current.
    void initialize_gl();
    void resize_gl();
    void paint_gl();

    // The operations the main window asks for.
    void build(type_model& model); // throws RuntimeError("3D device not found")
    void render();
    void render_without_flip();
    void finalize();
    // Applies one mouse step to the model frame and renders if it moved.
    void step(const View3DStep& step);

    View3D& view() { return view_; }
    const SceneFrames& frames() const { return frames_; }
    // The backend of the current device, if any.
    GlSceneRenderer* surface();

    // View3DPlatform
    std::unique_ptr<RenderBackend> create_device(int width, int height) override;
    int surface_width() const override;
    int surface_height() const override;
    bool hardware() const override { return hardware_; }
    bool surface_ready() override;
    void flip() override;

  private:
    class ContextScope;
    class InGlEvent;
    void DXDrawInitializeSurface();
    void context_about_to_go();
    bool opengl_available() const;

    QWidget& view_widget_;
    QOpenGLWidget* gl_;
    HandlerGuard guard_;
    View3D view_{*this};
    SceneFrames frames_;
    bool gl_ready_ = false;
    bool render_when_ready_ = false;
    bool started_ = false; // the view has been initialised once
    bool hardware_ = true;
    int callback_depth_ = 0; // inside one of the widget's GL events
    QMetaObject::Connection context_watch_;
};

} // namespace facetor
