#include "preview3d/view3d.h"

namespace facetor {

namespace {

// Clears a flag on every way out, the throwing one included.
class FlagGuard {
  public:
    explicit FlagGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

  private:
    bool& flag_;
};

} // namespace

void View3D::reinitialize()
{
    finalize();
    {
        FlagGuard busy(initializing_);
        create_device(); // throws when there is none; nothing else exists yet
        root_ = runtime_.CreateFrame(nullptr);
        camera_ = runtime_.CreateFrame(root_);
        camera_->SetPosition(root_.get(), 0, 0, 0);
        create_viewport(k_default_field);
    }
    raise_initialize_surface();
}

void View3D::finalize()
{
    release_device();
    camera_.reset();
    root_.reset();
}

void View3D::resize()
{
    if (!root_ || initializing_) {
        return;
    }
    const float field = viewport_ ? viewport_->field() : k_default_field;
    release_device();
    {
        FlagGuard busy(initializing_);
        create_device();
        create_viewport(field);
    }
    raise_initialize_surface();
}

bool View3D::can_draw()
{
    return initialized() && !initializing_ && platform_.surface_ready();
}

void View3D::render()
{
    if (!can_draw()) {
        return;
    }
    viewport_->ForceUpdate(0, 0, device_->width(), device_->height());
    viewport_->Clear();
    viewport_->Render(*root_);
    device_->Update();
    platform_.flip();
}

void View3D::render_without_flip()
{
    if (!can_draw()) {
        return;
    }
    viewport_->Clear();
    viewport_->Render(*root_);
    device_->Update();
}

void View3D::create_device()
{
    const int width = platform_.surface_width();
    const int height = platform_.surface_height();
    device_ = std::make_shared<Device3D>(platform_.create_device(width, height), width, height,
                                         platform_.hardware());
    // Lit, smooth-shaded solid faces are the only way the renderer draws.
    device_->SetTextureQuality(TextureQuality::nearest);
}

void View3D::create_viewport(float field)
{
    viewport_ =
        std::make_unique<Viewport>(device_, camera_, 0, 0, device_->width(), device_->height());
    viewport_->SetBack(k_back_clip);
    viewport_->SetField(field);
}

void View3D::release_device()
{
    // The viewport draws on the device: it goes first.
    viewport_.reset();
    device_.reset();
}

void View3D::raise_initialize_surface()
{
    if (OnInitializeSurface && initialized()) {
        OnInitializeSurface();
    }
}

} // namespace facetor
