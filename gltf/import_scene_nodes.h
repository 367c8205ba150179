#pragma once
// The nodes of one glTF scene in depth-first order, each with its offset
// from its parent, and the meshes they show, one for each world rotation
// and scale a mesh is shown with. Nothing of a mesh is read here.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gltf/import_scene.h"
#include "gltf/import_transforms.h"

namespace facetor::gltf_import {

class SceneNodes {
  public:
    SceneNodes(const tinygltf::Model& gltf, std::vector<std::string>& warnings)
        : gltf_(gltf), warnings_(warnings)
    {
    }

    // Scene `scene`, or the default one when it is -1 (see
    // gather_import_scene).
    void walk(int scene);

    std::vector<ImportNode>& nodes() { return nodes_; }
    // What the scene's meshes will hold, in the order the nodes name them.
    const std::vector<Bake>& bakes() const { return bakes_; }

  private:
    std::vector<int> roots(int scene);
    void walk_from(const std::vector<int>& roots);
    int mesh_for(int mesh, const Linear& linear);

    const tinygltf::Model& gltf_;
    std::vector<std::string>& warnings_;
    std::vector<ImportNode> nodes_;
    std::vector<Bake> bakes_;
    std::map<std::pair<int, std::array<std::uint64_t, 9>>, int> bake_of_;
};

} // namespace facetor::gltf_import
