#pragma once
// A glTF mesh cut into 3DO meshes: runs of its triangles that fit the
// capacities, with shared vertices and normals for every vertex and face.
#include <array>
#include <vector>

#include "gltf/import_scene.h"

namespace facetor::gltf_import {

struct PartFace {
    std::array<int, 3> vertex{};
    std::array<int, 3> tvertex{};
    int material = 0; // into the scene's materials
    Vec3 normal{};
};

// One 3DO mesh: a run of a mesh's triangles that fits the capacities.
struct Part {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<bool> file_normal; // the file gave this vertex a normal
    std::vector<std::array<double, 2>> uvs;
    std::vector<PartFace> faces;
};

// Splits a mesh's triangles, in order, into parts within the vertex, face
// and texture-vertex capacities; equal positions and equal texture
// coordinates are shared within a part.
std::vector<Part> split_mesh(const ImportMesh& mesh);

} // namespace facetor::gltf_import
