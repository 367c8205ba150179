#pragma once
// The 3DO materials a scene's glTF materials become, one per name, in the
// order the triangles first use them.
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "gltf/import_scene.h"

namespace tinygltf {
class Model;
struct Material;
} // namespace tinygltf

namespace facetor::gltf_import {

class SceneMaterials {
  public:
    // `fallback_name` names materials that have no name of their own.
    SceneMaterials(const tinygltf::Model& gltf, const std::string& fallback_name)
        : gltf_(gltf), fallback_name_(fallback_name)
    {
    }

    // The material glTF material `index` (-1: the default one) becomes, as
    // an index into materials(); `mesh` names the mesh in the message for a
    // material the file does not have.
    int material_for(int index, int mesh);
    // The set of texture coordinates the base colour texture uses.
    int texcoord_set(int material) const;

    std::vector<ImportMaterial>& materials() { return materials_; }

  private:
    const tinygltf::Material* gltf_material(int index) const;
    std::string image_name(const tinygltf::Material& m) const;

    const tinygltf::Model& gltf_;
    const std::string& fallback_name_;
    std::vector<ImportMaterial> materials_;
    std::map<int, int> material_of_gltf_;
    std::unordered_map<std::string, int> material_named_;
};

} // namespace facetor::gltf_import
