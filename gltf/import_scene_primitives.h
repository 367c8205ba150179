#pragma once
// A glTF mesh's primitives as triangles in model axes, baked with one
// node's world rotation and scale: lists, strips and fans, with their
// normals and texture coordinates. What is left out is counted.
#include <cstddef>

#include "gltf/import_scene.h"
#include "gltf/import_scene_materials.h"
#include "gltf/import_transforms.h"

namespace tinygltf {
class Model;
struct Primitive;
} // namespace tinygltf

namespace facetor::gltf_import {

// What the primitives held that the import leaves out or changes, for the
// scene's counted warnings.
struct PrimitiveCounts {
    std::size_t points_or_lines = 0, without_positions = 0, non_finite_triangles = 0, morphed = 0,
                incomplete_triangles = 0, non_finite_uvs = 0, flattened_triangles = 0;
};

class MeshBaker {
  public:
    // `quantized`: positions may be integers (KHR_mesh_quantization).
    MeshBaker(const tinygltf::Model& gltf, bool quantized, SceneMaterials& materials)
        : gltf_(gltf), quantized_(quantized), materials_(materials)
    {
    }

    ImportMesh build_mesh(const Bake& bake);
    const PrimitiveCounts& counts() const { return counts_; }

  private:
    void add_primitive(ImportMesh& out, const tinygltf::Primitive& p, const Bake& bake,
                       const Linear& normal_matrix);

    const tinygltf::Model& gltf_;
    bool quantized_;
    SceneMaterials& materials_;
    PrimitiveCounts counts_;
};

} // namespace facetor::gltf_import
