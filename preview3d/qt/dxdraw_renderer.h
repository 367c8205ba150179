#pragma once
// What the 3D view widget forwards to: the view component and its scene on
// the view's own off-screen OpenGL context, and the picture it last drew.
// OpenGL is set up late, at the view's first show, so a device may be made
// before it: it then only checks that a context can be had at all, and gets
// its surface once OpenGL is ready.
#include <QImage>
#include <cstdint>

#include "model/model.h"
#include "preview3d/scene_build.h"
#include "preview3d/view3d.h"
#include "preview3d/view3d_mouse.h"
#include "uisupport/handler_guard.h"

class QWidget;

namespace facetor {

class DXDrawSurface;
class GlSceneRenderer;

class DXDrawRenderer final : public View3DPlatform {
  public:
    // `view` gives the size and shows the picture; `gl` draws, and is null
    // where the display offers no OpenGL (then there is never a device).
    DXDrawRenderer(QWidget& view, DXDrawSurface* gl);
    ~DXDrawRenderer() override;
    DXDrawRenderer(const DXDrawRenderer&) = delete;
    DXDrawRenderer& operator=(const DXDrawRenderer&) = delete;

    // The widget's GL events: its first show, its size changes, its paints.
    void initialize_gl();
    void resize_gl();
    void paint_gl();

    // The operations the main window asks for.
    void build(type_model& model);   // throws RuntimeError("3D device not found")
    void rebuild(type_model& model); // keeps the model frame; renders
    void render();
    void render_without_flip();
    void finalize();
    // Applies one mouse step to the model frame and renders if it moved.
    void step(const View3DStep& step);

    // The last finished picture, in device pixels; null while there is no
    // surface to draw on. Brought up to date by paint_gl.
    const QImage& picture() const { return picture_; }

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
    void DXDrawInitializeSurface();
    void fetch_picture();

    QWidget& view_widget_;
    DXDrawSurface* gl_;
    View3D view_{*this};
    SceneFrames frames_;
    QImage picture_;
    std::uint64_t picture_revision_ = 0; // the surface revision picture_ shows
    bool gl_ready_ = false;
    bool render_when_ready_ = false;
    bool started_ = false; // the view has been initialised once
    bool hardware_ = true;
    int context_depth_ = 0; // inside a scope that made the context current
};

} // namespace facetor
