#pragma once
// What a glTF export holds, before any glTF is written: one node per
// hierarchy node, the meshes they carry as triangles in the 3D view's axes,
// and the face material names. Plain C++, so the rules are tested without
// reading glTF back.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

namespace facetor {

// The faces of one mesh that share a material: a fan of triangles per face,
// every corner its own vertex so that each face keeps its flat normal.
struct ExportPrimitive {
    int material = 0;                   // index into ExportScene::materials
    std::vector<float> positions;       // x, y, z per vertex
    std::vector<float> normals;         // x, y, z per vertex, unit length
    std::vector<float> uvs;             // u, v per vertex
    std::vector<std::uint32_t> indices; // three per triangle
    std::array<float, 3> min{}, max{};  // of the positions
};

struct ExportMesh {
    std::string name;
    std::vector<ExportPrimitive> primitives; // never empty
};

struct ExportNode {
    std::string name;
    int parent = -1;                     // -1: a root of the scene
    std::array<double, 3> translation{}; // from the parent, in glTF axes
    int mesh = -1;                       // index into ExportScene::meshes
};

struct ExportScene {
    std::vector<ExportNode> nodes; // same indices as the model's nodes
    std::vector<ExportMesh> meshes;
    std::vector<std::string> materials; // face material names, first use first
    std::vector<std::string> warnings;  // one line each, without a prefix
};

// Model x, y, z as the 3D view shows them: x, z, -y (glTF's y up, right-handed).
// 0 - y rather than -y, so that a zero is written as 0, not -0.
inline std::array<double, 3> to_view_axes(double x, double y, double z)
{
    return {x, z, 0.0 - y};
}

// The inverse, for the import: glTF x, y, z back to model x, -z, y.
inline std::array<double, 3> from_view_axes(double x, double y, double z)
{
    return {x, 0.0 - z, y};
}

// Builds the export of geoset `geoset` (0..4) of a placed model. Faces with
// fewer than three corners or a corner past the mesh's vertices are left out
// with a warning; a corner naming a texture vertex past the count gets UV
// 0, 0 with a warning; a node naming a mesh the geoset lacks carries none.
// Nothing outside the model's arrays is read.
ExportScene build_export_scene(const type_model& model, int geoset);

} // namespace facetor
