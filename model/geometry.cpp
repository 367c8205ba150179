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

std::vector<Vec3> vertex_normals(const type_mesh& mesh, std::span<const int> vertices)
{
    // Where each wanted vertex's sum goes; -1 for the others.
    std::array<int, k_max_vertices + 1> slot;
    slot.fill(-1);
    std::vector<Vec3> sums(vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        if (vertices[i] >= 0 && vertices[i] <= k_max_vertices) {
            slot[static_cast<std::size_t>(vertices[i])] = static_cast<int>(i);
        }
    }
    for (int f = 0; f < mesh.face_count; ++f) {
        const type_faces& face = mesh.faces[static_cast<std::size_t>(f)];
        std::array<bool, k_max_corners + 1> counted{};
        Vec3 normal{};
        bool computed = false;
        for (int k = 1; k <= face.corner_count; ++k) {
            const int s = slot[face.corner_vertex[k]];
            if (s < 0 || counted[static_cast<std::size_t>(k)]) {
                continue;
            }
            if (!computed) {
                normal = face_normal(mesh, f);
                computed = true;
            }
            // Further corners naming the same vertex count no more.
            for (int later = k; later <= face.corner_count; ++later) {
                if (face.corner_vertex[later] == face.corner_vertex[k]) {
                    counted[static_cast<std::size_t>(later)] = true;
                }
            }
            Vec3& sum = sums[static_cast<std::size_t>(s)];
            for (std::size_t c = 0; c < 3; ++c) {
                sum[c] += normal[c];
            }
        }
    }
    for (Vec3& sum : sums) {
        sum = unit_vector(sum);
    }
    return sums;
}

void append_fan(std::vector<std::uint32_t>& indices, std::uint32_t first, std::size_t corner_count)
{
    for (std::uint32_t k = 1; k + 1 < corner_count; ++k) {
        indices.insert(indices.end(), {first, first + k, first + k + 1});
    }
}

} // namespace facetor
