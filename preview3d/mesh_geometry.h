#pragma once
// The triangles a mesh builder is drawn with: each face a fan from its first
// corner, every corner carrying the face's normal and colour.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "preview3d/scene.h"

namespace facetor {

// Floats per vertex: position x, y, z; normal x, y, z; colour r, g, b.
inline constexpr int k_vertex_floats = 9;

struct MeshGeometry {
    std::vector<float> vertices;        // k_vertex_floats per vertex
    std::vector<std::uint32_t> indices; // three per triangle
};

// The unit normal of a flat face (Newell's method, so any planar polygon
// works whatever its first corners); zero for fewer than three corners or a
// face with no area. Which side it points to follows the corner order.
Vector3 face_normal(const std::vector<Vector3>& corners);

using Point3 = std::array<double, 3>;

// The same in double, for corners kept in double (the glTF export): each
// difference is taken from the first corner, so that large coordinates do
// not swamp it. The float one above is this one, narrowed.
Point3 face_normal(std::span<const Point3> corners);

// `v` scaled to length 1; zero where it has no length or an infinite one.
Point3 unit_vector(Point3 v);

// The fan of a face from its first corner: triangles (first, first + k,
// first + k + 1). Fewer than three corners give none.
void append_fan(std::vector<std::uint32_t>& indices, std::uint32_t first, std::size_t corner_count);

// Faces with fewer than three corners give no triangles.
MeshGeometry triangulate(const MeshBuilder& mesh);

} // namespace facetor
