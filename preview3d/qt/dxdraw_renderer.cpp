#include "preview3d/qt/dxdraw_renderer.h"

#include <QByteArray>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWidget>
#include <algorithm>
#include <cmath>

#include "model/errors.h"
#include "preview3d/qt/gl_scene_renderer.h"

namespace facetor {

// Makes the widget's context current for work done outside its GL events;
// inside them (or inside another scope) it is current already.
class DXDrawRenderer::ContextScope {
  public:
    explicit ContextScope(DXDrawRenderer& owner) : owner_(owner)
    {
        if (owner_.callback_depth_ == 0 && owner_.gl_ready_ && owner_.gl_->context()) {
            owner_.gl_->makeCurrent();
            made_current_ = true;
        }
        ++owner_.callback_depth_;
    }
    ~ContextScope()
    {
        --owner_.callback_depth_;
        if (made_current_) {
            owner_.gl_->doneCurrent();
        }
    }
    ContextScope(const ContextScope&) = delete;
    ContextScope& operator=(const ContextScope&) = delete;

  private:
    DXDrawRenderer& owner_;
    bool made_current_ = false;
};

// Marks the time inside one of the widget's GL events, on every way out.
class DXDrawRenderer::InGlEvent {
  public:
    explicit InGlEvent(DXDrawRenderer& owner) : owner_(owner) { ++owner_.callback_depth_; }
    ~InGlEvent() { --owner_.callback_depth_; }
    InGlEvent(const InGlEvent&) = delete;
    InGlEvent& operator=(const InGlEvent&) = delete;

  private:
    DXDrawRenderer& owner_;
};

DXDrawRenderer::DXDrawRenderer(QWidget& view, QOpenGLWidget* gl, HandlerGuard guard)
    : view_widget_(view), gl_(gl), guard_(std::move(guard))
{
    view_.OnInitializeSurface = [this] { DXDrawInitializeSurface(); };
}

DXDrawRenderer::~DXDrawRenderer()
{
    QObject::disconnect(context_watch_);
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
    const InGlEvent inside(*this);
    gl_ready_ = true;
    hardware_ = !software_renderer();
    QObject::disconnect(context_watch_);
    context_watch_ = QObject::connect(gl_->context(), &QOpenGLContext::aboutToBeDestroyed, gl_,
                                      [this] { guard_([this] { context_about_to_go(); }); });
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
    const InGlEvent inside(*this);
    view_.resize(); // on failure the view cannot draw until the next build
}

void DXDrawRenderer::paint_gl()
{
    const InGlEvent inside(*this);
    QOpenGLFunctions* gl = QOpenGLContext::currentContext()->functions();
    gl->glClearColor(0, 0, 0, 1);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    if (render_when_ready_) {
        render_when_ready_ = false;
        view_.render_without_flip();
    }
    if (GlSceneRenderer* s = surface(); s && s->ready()) {
        const double ratio = gl_->devicePixelRatioF();
        s->present(std::max(1, static_cast<int>(std::lround(gl_->height() * ratio))));
    }
}

void DXDrawRenderer::context_about_to_go()
{
    ContextScope scope(*this);
    if (GlSceneRenderer* s = surface()) {
        s->release_gl();
    }
    gl_ready_ = false;
}

void DXDrawRenderer::build(type_model& model)
{
    ContextScope scope(*this);
    started_ = true;
    build_scene(view_, frames_, model);
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

bool DXDrawRenderer::opengl_available() const
{
    if (!gl_) {
        return false;
    }
    QOpenGLContext probe;
    probe.setFormat(gl_->format());
    return probe.create();
}

std::unique_ptr<RenderBackend> DXDrawRenderer::create_device(int width, int height)
{
    auto backend = std::make_unique<GlSceneRenderer>(width, height);
    if (gl_ready_) {
        ContextScope scope(*this);
        if (!backend->create_gl()) {
            throw RuntimeError(k_no_device_text);
        }
    } else if (!opengl_available()) {
        // Before the widget's first show there is no context of its own yet:
        // a device counts as found when a context can be made at all.
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
    if (gl_) {
        gl_->update();
    }
}

} // namespace facetor
