#pragma once
// The triangles a mesh builder is drawn with: each face a fan from its first
// corner, every corner carrying the face's normal and colour (the model's
// geometry rules, model/geometry.h).
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

// Faces with fewer than three corners give no triangles.
MeshGeometry triangulate(const MeshBuilder& mesh);

} // namespace facetor
