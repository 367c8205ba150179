#include "preview3d/qt/dxdraw_renderer.h"

#include <QByteArray>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "model/errors.h"
#include "preview3d/qt/dxdraw_surface.h"
#include "preview3d/qt/gl_scene_renderer.h"

namespace facetor {

// Makes the view's context current for the work inside it, once however
// deeply scopes nest.
class DXDrawRenderer::ContextScope {
  public:
    explicit ContextScope(DXDrawRenderer& owner) : owner_(owner)
    {
        if (owner_.context_depth_ == 0 && owner_.gl_ready_) {
            made_current_ = owner_.gl_->make_current();
        }
        ++owner_.context_depth_;
    }
    ~ContextScope()
    {
        --owner_.context_depth_;
        if (made_current_) {
            owner_.gl_->done_current();
        }
    }
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

  private:
    DXDrawRenderer& owner_;
    bool made_current_ = false;
};

DXDrawRenderer::DXDrawRenderer(QWidget& view, DXDrawSurface* gl) : view_widget_(view), gl_(gl)
{
    view_.OnInitializeSurface = [this] { DXDrawInitializeSurface(); };
}

DXDrawRenderer::~DXDrawRenderer()
{
    ContextScope scope(*this);
    view_.finalize();
}

void DXDrawRenderer::DXDrawInitializeSurface()
{
    if (Device3D* device = view_.device()) {
        initialize_surface(*device);
    }
}

namespace {

bool software_renderer()
{
    const auto* text = QOpenGLContext::currentContext()->functions()->glGetString(GL_RENDERER);
    const QByteArray name = QByteArray(reinterpret_cast<const char*>(text)).toLower();
    return name.contains("llvmpipe") || name.contains("softpipe") || name.contains("swrast") ||
           name.contains("software");
}

} // namespace

void DXDrawRenderer::initialize_gl()
{
    if (gl_ready_ || !gl_ || !gl_->create() || !gl_->make_current()) {
        return;
    }
    gl_ready_ = true;
    ContextScope scope(*this);
    hardware_ = !software_renderer();
    // The view starts with an empty scene as soon as it can; a scene built
    // before OpenGL was ready gets its surface now and is shown at the first
    // paint. Should that fail, Render does nothing until the next build.
    if (view_.root()) {
        view_.resize();
    } else if (!started_) {
        view_.reinitialize();
    }
    started_ = true;
    render_when_ready_ = true;
}

void DXDrawRenderer::resize_gl()
{
    if (!gl_ready_) {
        return;
    }
    ContextScope scope(*this);
    view_.resize(); // on failure the view cannot draw until the next build
}

void DXDrawRenderer::paint_gl()
{
    ContextScope scope(*this);
    if (render_when_ready_ && gl_ready_) {
        render_when_ready_ = false;
        view_.render_without_flip();
    }
    fetch_picture();
}

void DXDrawRenderer::fetch_picture()
{
    GlSceneRenderer* s = surface();
    if (!s || !s->ready()) {
        picture_ = QImage();
        picture_revision_ = 0;
        return;
    }
    // Reading back costs a copy of the whole surface: only after a change.
    if (s->revision() != picture_revision_ || picture_.isNull()) {
        picture_ = s->read_picture();
        picture_revision_ = s->revision();
        picture_.setDevicePixelRatio(view_widget_.devicePixelRatioF());
    }
}

void DXDrawRenderer::build(type_model& model)
{
    ContextScope scope(*this);
    started_ = true;
    build_scene(view_, frames_, model);
}

void DXDrawRenderer::rebuild(type_model& model)
{
    if (!view_.initialized()) {
        return;
    }
    ContextScope scope(*this);
    rebuild_scene(view_, frames_, model);
    view_.render();
}

void DXDrawRenderer::render()
{
    ContextScope scope(*this);
    view_.render();
}

void DXDrawRenderer::render_without_flip()
{
    ContextScope scope(*this);
    view_.render_without_flip();
}

void DXDrawRenderer::finalize()
{
    ContextScope scope(*this);
    view_.finalize();
    fetch_picture();
}

void DXDrawRenderer::step(const View3DStep& step)
{
    ContextScope scope(*this);
    if (apply_view3d_step(step, frames_, view_.root().get())) {
        view_.render();
    }
}

GlSceneRenderer* DXDrawRenderer::surface()
{
    // Every device of this view is made by create_device below.
    Device3D* device = view_.device();
    return device ? static_cast<GlSceneRenderer*>(&device->backend()) : nullptr;
}

std::unique_ptr<RenderBackend> DXDrawRenderer::create_device(int width, int height)
{
    auto backend = std::make_unique<GlSceneRenderer>(width, height);
    if (gl_ready_) {
        ContextScope scope(*this);
        if (!backend->create_gl()) {
            throw RuntimeError(k_no_device_text);
        }
    } else if (!gl_) {
        // Before the first show there is no context of its own yet: a device
        // counts as found where the display gives OpenGL at all.
        throw RuntimeError(k_no_device_text);
    }
    return backend;
}

int DXDrawRenderer::surface_width() const
{
    return std::max(
        1, static_cast<int>(std::lround(view_widget_.width() * view_widget_.devicePixelRatioF())));
}

int DXDrawRenderer::surface_height() const
{
    return std::max(
        1, static_cast<int>(std::lround(view_widget_.height() * view_widget_.devicePixelRatioF())));
}

bool DXDrawRenderer::surface_ready()
{
    GlSceneRenderer* s = surface();
    if (!s) {
        return false;
    }
    if (s->ready()) {
        return true;
    }
    if (!gl_ready_) {
        return false;
    }
    ContextScope scope(*this);
    return s->create_gl();
}

void DXDrawRenderer::flip()
{
    // The picture is read back when the widget paints, once per paint
    // however many renders came before it.
    view_widget_.update();
}

} // namespace facetor
