#include "preview3d/mesh_geometry.h"

#include "model/geometry.h"

namespace facetor {

namespace {

// The face's normal in double, from the corners as the scene holds them,
// narrowed back to the scene's floats.
Vector3 scene_face_normal(const std::vector<Vector3>& corners)
{
    std::vector<Vec3> exact(corners.size());
    for (std::size_t i = 0; i < corners.size(); ++i) {
        exact[i] = {corners[i].x, corners[i].y, corners[i].z};
    }
    const Vec3 n = face_normal(exact);
    return {static_cast<float>(n[0]), static_cast<float>(n[1]), static_cast<float>(n[2])};
}

} // namespace

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
        const Vector3 n = scene_face_normal(points);
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
