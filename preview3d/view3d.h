#pragma once
// The 3D view component: owns the device, the drawing surface, the root and
// camera frames and the viewport, and knows when it can draw. The platform
// (OpenGL in the widget, a recorder in tests) supplies the device and shows
// finished images.
#include <functional>
#include <memory>

#include "preview3d/scene.h"

namespace facetor {

inline constexpr float k_back_clip = 5000.0f;
inline constexpr const char* k_no_device_text = "3D device not found";

class View3DPlatform {
  public:
    virtual ~View3DPlatform() = default;
    // Makes the device on a new drawing surface of the current size; throws
    // RuntimeError(k_no_device_text) when no 3D device can be had.
    virtual std::unique_ptr<RenderBackend> create_device(int width, int height) = 0;
    // The size the drawing surface should have now, in pixels.
    virtual int surface_width() const = 0;
    virtual int surface_height() const = 0;
    // Whether the device runs on graphics hardware.
    virtual bool hardware() const = 0;
    // Whether the drawing surface is there to draw on; a lost surface is
    // restored here, and false means it could not be.
    virtual bool surface_ready() = 0;
    // Presents the finished image.
    virtual void flip() = 0;
};

class View3D {
  public:
    explicit View3D(View3DPlatform& platform) : platform_(platform) {}
    View3D(const View3D&) = delete;
    View3D& operator=(const View3D&) = delete;

    // Raised each time the device and surfaces have been (re)created.
    std::function<void()> OnInitializeSurface;

    // Releases whatever exists, then creates device, surface, root frame,
    // camera frame and viewport anew. Throws when there is no 3D device; the
    // view is then left finalised.
    void reinitialize();
    // Releases device, surface, viewport and frames.
    void finalize();
    // New device, surface and viewport at the platform's current size; the
    // frames and everything under them stay, and so does the field.
    void resize();

    bool initialized() const { return device_ && viewport_ && root_; }
    // Initialised, not initialising, and a surface to draw on.
    bool can_draw();
    // Renders the whole scene and presents it; nothing when it cannot draw.
    void render();
    // Renders onto the surface without forcing the update or presenting.
    void render_without_flip();

    Runtime3D& runtime() { return runtime_; }
    const std::shared_ptr<Frame>& root() const { return root_; }
    const std::shared_ptr<Frame>& camera() const { return camera_; }
    Viewport* viewport() { return viewport_.get(); }
    Device3D* device() { return device_.get(); }

  private:
    void create_device();
    void create_viewport(float field);
    void release_device();
    void raise_initialize_surface();

    View3DPlatform& platform_;
    Runtime3D runtime_;
    std::shared_ptr<Device3D> device_;
    std::shared_ptr<Frame> root_;
    std::shared_ptr<Frame> camera_;
    std::unique_ptr<Viewport> viewport_;
    bool initializing_ = false;
};

} // namespace facetor
