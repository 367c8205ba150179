#pragma once
// The OpenGL context of the 3D view, drawing off-screen only. The view shows
// the finished picture as a plain image: an OpenGL widget would make the
// toolkit compose the whole main window through OpenGL at every repaint,
// which on a software renderer costs more than the 2D views' own drawing.
// It only exists where the display can give OpenGL.
#include <QOffscreenSurface>
#include <QOpenGLContext>

namespace facetor {

class DXDrawSurface final {
  public:
    DXDrawSurface();
    DXDrawSurface(const DXDrawSurface&) = delete;
    DXDrawSurface& operator=(const DXDrawSurface&) = delete;

    // Whether this display gives the view OpenGL.
    static bool available();

    // Makes the context and its surface on first use; false when they
    // cannot be had.
    bool create();
    bool created() const { return context_.isValid(); }
    bool make_current() { return context_.makeCurrent(&surface_); }
    void done_current() { context_.doneCurrent(); }
    QOpenGLContext* context() { return &context_; }

  private:
    QOffscreenSurface surface_;
    QOpenGLContext context_;
};

} // namespace facetor
