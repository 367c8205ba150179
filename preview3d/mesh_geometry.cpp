#include "preview3d/mesh_geometry.h"

#include <cmath>

namespace facetor {

Vector3 face_normal(const std::vector<Vector3>& corners)
{
    if (corners.size() < 3) {
        return {};
    }
    double nx = 0, ny = 0, nz = 0;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const Vector3& a = corners[i];
        const Vector3& b = corners[(i + 1) % corners.size()];
        nx += (double(a.y) - b.y) * (double(a.z) + b.z);
        ny += (double(a.z) - b.z) * (double(a.x) + b.x);
        nz += (double(a.x) - b.x) * (double(a.y) + b.y);
    }
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(len > 0) || !std::isfinite(len)) {
        return {};
    }
    return {static_cast<float>(nx / len), static_cast<float>(ny / len),
            static_cast<float>(nz / len)};
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
        for (std::uint32_t k = 1; k + 1 < points.size(); ++k) {
            out.indices.insert(out.indices.end(), {first, first + k, first + k + 1});
        }
    }
    return out;
}

} // namespace facetor
