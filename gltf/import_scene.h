#pragma once
// What a glTF scene holds for a 3DO model, before any capacity is applied:
// its nodes in tree order with offsets that reproduce their world
// translations, and each mesh baked in model axes with its node's world
// rotation and scale, as triangles.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/vector_math.h"

namespace tinygltf {
class Model;
}

namespace facetor {

struct ImportTriangle {
    std::array<std::uint32_t, 3> corners{}; // into the mesh's vertices
    int material = 0;                       // into ImportScene::materials
};

// The primitives of one glTF mesh as one mesh: the 3DO keeps a material
// per face, so they need not be apart.
struct ImportMesh {
    std::string name;                       // as the file gives it; may be empty
    std::vector<Vec3> positions;            // model axes, relative to the node
    std::vector<Vec3> normals;              // model axes, unit; zero where the file has none
    std::vector<std::array<double, 2>> uvs; // 0, 0 where the file has none
    std::vector<ImportTriangle> triangles;  // counter-clockwise seen from the front
};

struct ImportMaterial {
    std::string name; // a MAT file name, safe for the format, unique
    bool textured = false;
    bool double_sided = false;
    bool translucent = false;
};

struct ImportNode {
    std::string name; // as the file gives it; may be empty
    int index = 0;    // the glTF node's
    int parent = -1;  // into ImportScene::nodes, always before this node
    Vec3 offset{};    // from the parent's placement, model axes
    int mesh = -1;    // into ImportScene::meshes
};

struct ImportScene {
    std::vector<ImportNode> nodes; // depth first, parents first
    std::vector<ImportMesh> meshes;
    std::vector<ImportMaterial> materials; // those the triangles use, first use first
    std::vector<std::string> warnings;
};

// Scene `scene` of `gltf`, or its default scene when `scene` is -1 (scene 0
// with a warning when it has none, every root node when it has no scene).
// `fallback_name` names materials that have no name of their own. Raises
// ImportError for a scene that is not there, an extension the file requires
// that the import cannot honour, a scene over 35 nodes or 16000 triangles
// (found before any element is read), and data outside its buffers.
ImportScene gather_import_scene(const tinygltf::Model& gltf, int scene,
                                const std::string& fallback_name);

} // namespace facetor
