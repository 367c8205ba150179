#pragma once
// The 3D view in the bottom-right pane. The widget only forwards: mouse
// events to the plain turning functions, the rest to DXDrawRenderer, which
// draws with an off-screen OpenGL context of its own (DXDrawSurface) when
// the display has OpenGL, and shows the finished picture as an image. So the
// window around it stays a plain raster window, cheap to repaint 50 times a
// second, and a display without OpenGL only lacks the picture.
#include <QImage>
#include <QWidget>
#include <memory>

#include "model/model.h"
#include "preview3d/view3d_mouse.h"
#include "uisupport/handler_guard.h"

namespace facetor {

class DXDrawRenderer;
class DXDrawSurface;

class DXDraw : public QWidget {
    Q_OBJECT

  public:
    // Its mouse and GL events run through `guard`, the main window's error
    // guard; the main window hands it one that reports after the event, as
    // the GL events are shows, paints and resizes.
    explicit DXDraw(HandlerGuard guard, QWidget* parent = nullptr);
    ~DXDraw() override;

    // Rebuilds the view and its scene from the model. Throws
    // RuntimeError("3D device not found") when no OpenGL context can be had;
    // the rest of the build is then skipped.
    void DXDrawInitialize(type_model& model);
    // After an edit: the scene built again from the model, the view's
    // turning and depth kept, and rendered once. Nothing while the view has
    // no device (a load reports that).
    void rebuild_scene(type_model& model);
    // Renders once and shows the image; nothing while the view cannot draw.
    void D3DRMRender();
    // The main window's repaint: renders onto the surface without forcing
    // the update and without presenting it.
    void repaint_scene();
    // The main window's close: releases device, surfaces and frames.
    void finalize();

    // The turning and depth state, kept for the whole run.
    View3DMouse& mouse_state() { return mouse_; }

    // The picture the view shows now (black without OpenGL), in pixels.
    QImage grabFramebuffer();
    // Whether the display gave this view OpenGL.
    bool has_opengl() const { return surface_ != nullptr; }
    DXDrawRenderer& renderer() { return *renderer_; }

  signals:
    // The depth after a depth step; the mesh strip shows it as its caption.
    void depth_changed(int depth);
    // Press and release of the left button inside the view.
    void clicked();

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void DXDrawMouseDown(bool shift, int x, int y);
    void DXDrawMouseMove(int x, int y);
    void DXDrawMouseUp();
    void gl_event(void (DXDrawRenderer::*handler)());

    std::unique_ptr<DXDrawSurface> surface_;
    std::unique_ptr<DXDrawRenderer> renderer_;
    View3DMouse mouse_;
    HandlerGuard guard_;
    bool left_pressed_inside_ = false;
};

} // namespace facetor
