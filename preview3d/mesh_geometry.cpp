#include "preview3d/mesh_geometry.h"

#include <cmath>

namespace facetor {

Point3 face_normal(std::span<const Point3> corners)
{
    const std::size_t count = corners.size();
    if (count < 3) {
        return {};
    }
    const Point3& o = corners[0];
    Point3 n{};
    for (std::size_t i = 0; i < count; ++i) {
        const Point3& a = corners[i];
        const Point3& b = corners[(i + 1) % count];
        const double ay = a[1] - o[1], az = a[2] - o[2], ax = a[0] - o[0];
        const double by = b[1] - o[1], bz = b[2] - o[2], bx = b[0] - o[0];
        n[0] += (ay - by) * (az + bz);
        n[1] += (az - bz) * (ax + bx);
        n[2] += (ax - bx) * (ay + by);
    }
    return unit_vector(n);
}

Point3 unit_vector(Point3 v)
{
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > 0) || !std::isfinite(length)) {
        return {};
    }
    for (double& c : v) {
        c /= length;
    }
    return v;
}

Vector3 face_normal(const std::vector<Vector3>& corners)
{
    std::vector<Point3> exact(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) {
        exact[i] = {corners[i].x, corners[i].y, corners[i].z};
    }
    const Point3 n = face_normal(std::span<const Point3>(exact));
    return {static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2])};
}

void append_fan(std::vector<std::uint32_t>& indices, std::uint32_t first, std::size_t corner_count)
{
    for (std::uint32_t k = 1; k + 1 < corner_count; ++k) {
        indices.insert(indices.end(), {first, first + k, first + k + 1});
    }
}

MeshGeometry triangulate(const MeshBuilder& mesh)
{
    MeshGeometry out;
    std::size_t corners = 0;
    for (const auto& face : mesh.faces()) {
        corners += face->corners().size();
    }
    out.vertices.reserve(corners * k_vertex_floats);
    out.indices.reserve(corners * 3);

    for (const auto& face : mesh.faces()) {
        const auto& points = face->corners();
        if (points.size() < 3) {
            continue;
        }
        const Vector3 n = face_normal(points);
        const ColorRGB c = face->color();
        const auto first = static_cast<std::uint32_t>(out.vertices.size() / k_vertex_floats);
        for (const Vector3& p : points) {
            out.vertices.insert(out.vertices.end(),
                                {p.x, p.y, p.z, n.x, n.y, n.z, c.red, c.green, c.blue});
        }
        append_fan(out.indices, first, points.size());
    }
    return out;
}

} // namespace facetor
