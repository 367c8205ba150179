#pragma once
// The triangles a mesh builder is drawn with: each face a fan from its first
// corner, every corner carrying the face's normal and colour.
#include <cstdint>
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

// Faces with fewer than three corners give no triangles.
MeshGeometry triangulate(const MeshBuilder& mesh);

} // namespace facetor
