#include "preview3d/scene.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "model/vector_math.h"

namespace facetor {

namespace {

Vec3 to_vec(Vector3 v)
{
    return {v.x, v.y, v.z};
}
Vector3 to_vector3(const Vec3& v)
{
    return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

} // namespace

Vector3 Placement::rotate(Vector3 v) const
{
    const Vec3 ax = to_vec(axis_x), ay = to_vec(axis_y), az = to_vec(axis_z);
    return to_vector3({ax[0] * v.x + ay[0] * v.y + az[0] * v.z,
                       ax[1] * v.x + ay[1] * v.y + az[1] * v.z,
                       ax[2] * v.x + ay[2] * v.y + az[2] * v.z});
}

Vector3 Placement::apply(Vector3 p) const
{
    const Vector3 r = rotate(p);
    return to_vector3({double(origin.x) + r.x, double(origin.y) + r.y, double(origin.z) + r.z});
}

Placement Placement::within(const Placement& outer) const
{
    return {outer.apply(origin), outer.rotate(axis_x), outer.rotate(axis_y), outer.rotate(axis_z)};
}

Placement Placement::inverse() const
{
    // The axes are orthonormal, so the inverse rotation is the transpose.
    Placement inv;
    inv.axis_x = {axis_x.x, axis_y.x, axis_z.x};
    inv.axis_y = {axis_x.y, axis_y.y, axis_z.y};
    inv.axis_z = {axis_x.z, axis_y.z, axis_z.z};
    const Vec3 o = to_vec(origin);
    inv.origin =
        to_vector3({-dot(o, to_vec(axis_x)), -dot(o, to_vec(axis_y)), -dot(o, to_vec(axis_z))});
    return inv;
}

Matrix4 Placement::matrix() const
{
    return {axis_x.x, axis_x.y, axis_x.z, 0, axis_y.x, axis_y.y, axis_y.z, 0,
            axis_z.x, axis_z.y, axis_z.z, 0, origin.x, origin.y, origin.z, 1};
}

void Face3D::AddVertex(float x, float y, float z)
{
    corners_.push_back({x, y, z});
    touch();
}

void Face3D::SetColorRGB(float red, float green, float blue)
{
    color_ = {red, green, blue};
    touch();
}

MeshBuilder::MeshBuilder()
{
    static std::atomic<std::uint64_t> next_id{1};
    id_ = next_id++;
}

void MeshBuilder::AddFace(face3d_ref face)
{
    if (!face) {
        return;
    }
    faces_.push_back(std::move(face));
    touch();
}

std::uint64_t MeshBuilder::content_revision() const
{
    std::uint64_t sum = revision();
    for (const auto& face : faces_) {
        sum += face->revision();
    }
    return sum;
}

Placement Frame::world() const
{
    Placement p = placement_;
    for (auto up = parent(); up; up = up->parent()) {
        p = p.within(up->placement_);
    }
    return p;
}

void Frame::SetPosition(const Frame* reference, float x, float y, float z)
{
    Vector3 p{x, y, z};
    if (reference) {
        p = reference->world().apply(p);
        if (auto up = parent()) {
            p = up->world().inverse().apply(p);
        }
    }
    placement_.origin = p;
}

bool Frame::SetOrientation(const Frame* reference, float dx, float dy, float dz, float ux, float uy,
                           float uz)
{
    Vector3 dir{dx, dy, dz};
    Vector3 upv{ux, uy, uz};
    if (reference) {
        const Placement ref = reference->world();
        dir = ref.rotate(dir);
        upv = ref.rotate(upv);
        if (auto up = parent()) {
            const Placement to_parent = up->world().inverse();
            dir = to_parent.rotate(dir);
            upv = to_parent.rotate(upv);
        }
    }
    const Vec3 d = to_vec(dir), u = to_vec(upv);
    const double ulen = length(u);
    const Vec3 z = unit_vector(d);
    if (!finite(u) || ulen == 0 || z == Vec3{}) {
        return false;
    }
    const Vec3 x_raw = cross(u, z);
    const double xlen = length(x_raw);
    if (xlen <= 1e-6 * ulen) {
        return false; // the up vector lies along the direction
    }
    const Vec3 x = unit_vector(x_raw);
    const Vec3 y = cross(z, x);
    placement_.axis_x = to_vector3(x);
    placement_.axis_y = to_vector3(y);
    placement_.axis_z = to_vector3(z);
    return true;
}

void Frame::AddLight(std::shared_ptr<Light> light)
{
    if (light) {
        lights_.push_back(std::move(light));
    }
}

void Frame::AddVisual(std::shared_ptr<MeshBuilder> visual)
{
    if (visual) {
        visuals_.push_back(std::move(visual));
    }
}

Device3D::Device3D(std::unique_ptr<RenderBackend> backend, int width, int height, bool hardware)
    : backend_(std::move(backend)), width_(width), height_(height), hardware_(hardware)
{
}

Viewport::Viewport(std::shared_ptr<Device3D> device, std::shared_ptr<Frame> camera, int x, int y,
                   int width, int height)
    : device_(std::move(device)), camera_(std::move(camera)), x_(x), y_(y),
      width_(std::max(width, 1)), height_(std::max(height, 1))
{
}

void Viewport::SetField(float field)
{
    // A field of zero or less would make the projection divide by zero.
    if (std::isfinite(field) && field > 0) {
        field_ = field;
    }
}

void Viewport::SetBack(float distance)
{
    if (std::isfinite(distance) && distance > front_) {
        back_ = distance;
    }
}

void Viewport::SetFront(float distance)
{
    if (std::isfinite(distance) && distance > 0 && distance < back_) {
        front_ = distance;
    }
}

void Viewport::ForceUpdate(int, int, int, int) {}

void Viewport::Clear()
{
    device_->backend().clear();
}

void Viewport::Render(const Frame& root)
{
    device_->backend().draw(snapshot(root));
}

Matrix4 Viewport::projection() const
{
    // Camera space is left-handed with z forward; clip w is that z, and
    // clip z runs from -w at the front plane to +w at the back plane.
    const double shorter = std::min(width_, height_);
    const double sx = shorter / (double(field_) * width_);
    const double sy = shorter / (double(field_) * height_);
    const double n = front_, f = back_;
    const double a = (f + n) / (f - n);
    const double b = -2 * f * n / (f - n);
    Matrix4 m{};
    m[0] = static_cast<float>(sx);
    m[5] = static_cast<float>(sy);
    m[10] = static_cast<float>(a);
    m[11] = 1;
    m[14] = static_cast<float>(b);
    return m;
}

bool Viewport::project(Vector3 world, float& px, float& py) const
{
    const Vector3 c = camera_->world().inverse().apply(world);
    if (!(c.z > front_)) {
        return false;
    }
    const double scale = std::min(width_, height_) / 2.0 / field_;
    px = static_cast<float>(width_ / 2.0 + c.x / c.z * scale);
    py = static_cast<float>(height_ / 2.0 - c.y / c.z * scale);
    return true;
}

SceneSnapshot Viewport::snapshot(const Frame& root) const
{
    SceneSnapshot scene;
    scene.projection = projection();
    scene.camera = camera_->world();

    struct Pending {
        const Frame* frame;
        Placement world;
    };
    std::vector<Pending> stack{{&root, root.world()}};
    while (!stack.empty()) {
        const Pending at = stack.back();
        stack.pop_back();
        for (const auto& light : at.frame->lights()) {
            const ColorRGB c = light->color();
            if (light->type() == LightType::ambient) {
                scene.lighting.ambient.red += c.red;
                scene.lighting.ambient.green += c.green;
                scene.lighting.ambient.blue += c.blue;
            } else {
                scene.lighting.directional.push_back({at.world.axis_z, c});
            }
        }
        for (const auto& visual : at.frame->visuals()) {
            scene.items.push_back(
                {visual.get(), visual->id(), visual->content_revision(), at.world});
        }
        for (const auto& child : at.frame->children()) {
            stack.push_back({child.get(), child->placement().within(at.world)});
        }
    }
    return scene;
}

std::shared_ptr<Frame> Runtime3D::CreateFrame(const std::shared_ptr<Frame>& parent)
{
    auto frame = std::make_shared<Frame>();
    if (parent) {
        frame->parent_ = parent;
        parent->children_.push_back(frame);
    }
    return frame;
}

std::shared_ptr<Light> Runtime3D::CreateLightRGB(LightType type, float red, float green, float blue)
{
    return std::make_shared<Light>(type, ColorRGB{red, green, blue});
}

std::shared_ptr<MeshBuilder> Runtime3D::CreateMeshBuilder()
{
    return std::make_shared<MeshBuilder>();
}

face3d_ref Runtime3D::CreateFace()
{
    return std::make_shared<Face3D>();
}

} // namespace facetor
