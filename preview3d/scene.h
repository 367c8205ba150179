#pragma once
// Our small retained-mode scene: a tree of frames, each placed and oriented
// relative to its parent, carrying lights and visuals (mesh builders of flat
// faces), seen through a viewport on a camera frame and drawn by a device.
// Coordinates are left-handed: x to the right, y up, z away from the viewer.
// Every value crossing this layer's boundary is a 32-bit float.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/model.h"

namespace facetor {

struct Vector3 {
    float x = 0, y = 0, z = 0;
    friend bool operator==(const Vector3&, const Vector3&) = default;
};

struct ColorRGB {
    float red = 1, green = 1, blue = 1;
    friend bool operator==(const ColorRGB&, const ColorRGB&) = default;
};

// Column-major 4 x 4 matrix, the layout OpenGL takes as it is.
using Matrix4 = std::array<float, 16>;

// Where a frame sits in an outer frame: its origin and its three unit axes,
// all expressed in the outer frame's coordinates.
struct Placement {
    Vector3 origin{};
    Vector3 axis_x{1, 0, 0};
    Vector3 axis_y{0, 1, 0};
    Vector3 axis_z{0, 0, 1};

    // A point given in this frame, in the outer frame.
    Vector3 apply(Vector3 p) const;
    // A direction given in this frame, in the outer frame.
    Vector3 rotate(Vector3 v) const;
    // This placement seen from the frame that `outer` is placed in.
    Placement within(const Placement& outer) const;
    // The outer frame as seen from this one.
    Placement inverse() const;
    Matrix4 matrix() const;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// Light kinds; the values are those the scene build names.
enum class LightType : std::uint8_t { ambient = 0, directional = 3 };

class Light {
  public:
    Light(LightType type, ColorRGB color) : type_(type), color_(color) {}
    LightType type() const { return type_; }
    ColorRGB color() const { return color_; }

  private:
    LightType type_;
    ColorRGB color_;
};

// Version counters only ever grow, so a sum of them changes whenever any
// part changes: the renderer uses that to know when to rebuild its buffers.
class Versioned {
  public:
    std::uint64_t revision() const { return revision_; }

  protected:
    void touch() { ++revision_; }

  private:
    std::uint64_t revision_ = 0;
};

// The face object the model's `face3d` entries point at.
struct Face3D : Versioned {
    // Appends one corner; corners are kept in the order added.
    void AddVertex(float x, float y, float z);
    // The face's colour, each channel 0..1; new faces are white.
    void SetColorRGB(float red, float green, float blue);

    const std::vector<Vector3>& corners() const { return corners_; }
    ColorRGB color() const { return color_; }

  private:
    std::vector<Vector3> corners_;
    ColorRGB color_{};
};

class MeshBuilder : public Versioned {
  public:
    MeshBuilder();
    // The face becomes part of the mesh; a null face is ignored.
    void AddFace(face3d_ref face);

    const std::vector<face3d_ref>& faces() const { return faces_; }
    // Unique for the life of the program (unlike an address, never reused).
    std::uint64_t id() const { return id_; }
    // Changes whenever a face is added or any face changes.
    std::uint64_t content_revision() const;

  private:
    std::vector<face3d_ref> faces_;
    std::uint64_t id_;
};

class Frame {
  public:
    // Frames are made by Runtime3D::CreateFrame.
    Frame() = default;
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // Places the frame's origin at (x, y, z) of `reference` (null: the parent).
    void SetPosition(const Frame* reference, float x, float y, float z);
    // Points the frame's z axis along the direction and its y axis along the
    // up vector (made square to the direction), both given in `reference`
    // (null: the parent). A zero direction or an up vector along it leaves
    // the orientation as it was and returns false.
    bool SetOrientation(const Frame* reference, float dx, float dy, float dz, float ux, float uy,
                        float uz);
    void AddLight(std::shared_ptr<Light> light);
    void AddVisual(std::shared_ptr<MeshBuilder> visual);

    // The parent, or null for a root (or a frame whose root has been released).
    std::shared_ptr<Frame> parent() const { return parent_.lock(); }
    const std::vector<std::shared_ptr<Frame>>& children() const { return children_; }
    const std::vector<std::shared_ptr<Light>>& lights() const { return lights_; }
    const std::vector<std::shared_ptr<MeshBuilder>>& visuals() const { return visuals_; }

    // Relative to the parent.
    const Placement& placement() const { return placement_; }
    // Relative to the top of the tree the frame hangs in.
    Placement world() const;

  private:
    friend class Runtime3D;

    std::weak_ptr<Frame> parent_;
    std::vector<std::shared_ptr<Frame>> children_;
    std::vector<std::shared_ptr<Light>> lights_;
    std::vector<std::shared_ptr<MeshBuilder>> visuals_;
    Placement placement_{};
};

// The lights of a scene as the renderer needs them, in root coordinates.
struct SceneLighting {
    struct Directional {
        Vector3 direction; // the way the light travels
        ColorRGB color;
        friend bool operator==(const Directional&, const Directional&) = default;
    };
    ColorRGB ambient{0, 0, 0};
    std::vector<Directional> directional;
    friend bool operator==(const SceneLighting&, const SceneLighting&) = default;
};

// One visual to draw: its mesh builder and where its frame sits in the root.
struct DrawItem {
    const MeshBuilder* mesh = nullptr;
    std::uint64_t mesh_id = 0;
    std::uint64_t mesh_revision = 0; // content_revision() when the snapshot was taken
    Placement world;
    friend bool operator==(const DrawItem&, const DrawItem&) = default;
};

// Everything the renderer needs for one image. Two equal snapshots make the
// same picture on the same surface.
struct SceneSnapshot {
    Matrix4 projection{};
    Placement camera; // the camera frame in root coordinates
    SceneLighting lighting;
    std::vector<DrawItem> items;
    friend bool operator==(const SceneSnapshot&, const SceneSnapshot&) = default;
};

// What a device draws with. The OpenGL side implements it; tests record.
class RenderBackend {
  public:
    virtual ~RenderBackend() = default;
    // Fills the drawing surface with the background (black) and resets depth.
    virtual void clear() = 0;
    virtual void draw(const SceneSnapshot& scene) = 0;
    // Puts the rendered image onto the drawing surface.
    virtual void update() = 0;
};

// Settings the surface-initialisation event records on the device. Faces are
// opaque, white and untextured, so the renderer acts on neither.
enum class TextureQuality : std::uint8_t { nearest = 0, linear = 1 };
inline constexpr std::uint32_t k_render_blended_sorted_transparency = 3;

class Device3D {
  public:
    Device3D(std::unique_ptr<RenderBackend> backend, int width, int height, bool hardware);

    void SetTextureQuality(TextureQuality quality) { texture_quality_ = quality; }
    void SetRenderMode(std::uint32_t mode) { render_mode_ = mode; }
    void Update() { backend_->update(); }

    TextureQuality texture_quality() const { return texture_quality_; }
    std::uint32_t render_mode() const { return render_mode_; }
    bool hardware() const { return hardware_; }
    int width() const { return width_; }
    int height() const { return height_; }
    RenderBackend& backend() { return *backend_; }

  private:
    std::unique_ptr<RenderBackend> backend_;
    int width_;
    int height_;
    bool hardware_;
    TextureQuality texture_quality_ = TextureQuality::nearest;
    std::uint32_t render_mode_ = 0;
};

inline constexpr float k_default_front_clip = 1.0f;
inline constexpr float k_default_field = 0.5f;

class Viewport {
  public:
    // Shows what `camera` sees on the rectangle x, y, width, height of the
    // device's surface (pixels).
    Viewport(std::shared_ptr<Device3D> device, std::shared_ptr<Frame> camera, int x, int y,
             int width, int height);

    // The half-extent of the visible area per unit of distance in front of
    // the camera, measured across the smaller side of the viewport so that
    // nothing within the field is cut off in either direction.
    void SetField(float field);
    void SetBack(float distance);
    void SetFront(float distance);
    // Marks a rectangle to be shown in full at the next update; we always
    // draw the whole surface, so this only records it.
    void ForceUpdate(int x1, int y1, int x2, int y2);
    void Clear();
    void Render(const Frame& root);

    float field() const { return field_; }
    float front() const { return front_; }
    float back() const { return back_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const Frame& camera() const { return *camera_; }

    Matrix4 projection() const;
    // What Render hands the device for the tree under `root`.
    SceneSnapshot snapshot(const Frame& root) const;
    // Where a root-frame point lands, in viewport pixels (x right, y down);
    // false when it lies behind the front plane.
    bool project(Vector3 world, float& px, float& py) const;

  private:
    std::shared_ptr<Device3D> device_;
    std::shared_ptr<Frame> camera_;
    int x_, y_, width_, height_;
    float field_ = k_default_field;
    float front_ = k_default_front_clip;
    float back_ = 100.0f;
};

// The factory of scene objects.
class Runtime3D {
  public:
    // A new, empty frame at the origin of `parent` with its orientation;
    // a null parent makes a root.
    std::shared_ptr<Frame> CreateFrame(const std::shared_ptr<Frame>& parent);
    std::shared_ptr<Light> CreateLightRGB(LightType type, float red, float green, float blue);
    std::shared_ptr<MeshBuilder> CreateMeshBuilder();
    face3d_ref CreateFace();
};

} // namespace facetor
