#include "model/geometry.h"

#include <array>

namespace facetor {

Vec3 face_normal(std::span<const Vec3> corners)
{
    const std::size_t count = corners.size();
    if (count < 3) {
        return {};
    }
    const Vec3& o = corners[0];
    Vec3 n{};
    for (std::size_t i = 0; i < count; ++i) {
        const Vec3& a = corners[i];
        const Vec3& b = corners[(i + 1) % count];
        const double ay = a[1] - o[1], az = a[2] - o[2], ax = a[0] - o[0];
        const double by = b[1] - o[1], bz = b[2] - o[2], bx = b[0] - o[0];
        n[0] += (ay - by) * (az + bz);
        n[1] += (az - bz) * (ax + bx);
        n[2] += (ax - bx) * (ay + by);
    }
    return unit_vector(n);
}

Vec3 face_normal(const type_mesh& mesh, int face)
{
    if (face < 0 || face >= mesh.face_count) {
        return {};
    }
    const type_faces& f = mesh.faces[static_cast<std::size_t>(face)];
    std::array<Vec3, k_max_corners> corners;
    for (int k = 1; k <= f.corner_count; ++k) {
        if (f.corner_vertex[k] >= mesh.vertex_count) {
            return {};
        }
        const type_vertex& v = mesh.vertices[f.corner_vertex[k]];
        corners[static_cast<std::size_t>(k - 1)] = {v.x, v.y, v.z};
    }
    return face_normal(std::span<const Vec3>(corners.data(), f.corner_count));
}

void append_fan(std::vector<std::uint32_t>& indices, std::uint32_t first, std::size_t corner_count)
{
    for (std::uint32_t k = 1; k + 1 < corner_count; ++k) {
        indices.insert(indices.end(), {first, first + k, first + k + 1});
    }
}

} // namespace facetor
