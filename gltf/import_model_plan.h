#pragma once
// What the model of an imported scene will hold, settled before any record
// is filled: its nodes and the order they are numbered in, the mesh parts
// they carry and the materials the faces use, within the capacities.
#include <cstddef>
#include <string>
#include <vector>

#include "gltf/import_parts.h"
#include "gltf/import_scene.h"
#include "model/model.h"

namespace facetor::gltf_import {

// Node links are signed bytes up to 32: nodes 33 and 34 can be stored but
// named by no link.
constexpr int k_max_linked_node = node_link::max;

struct OutNode {
    std::string name;
    int parent = -1; // into the node list
    Vec3 offset{};
    int mesh = -1; // into the parts
};

struct ModelPlan {
    std::vector<OutNode> nodes; // tree order, parents first
    std::vector<int> order;     // for each model node, its index in `nodes`
    std::vector<Part> parts;    // one per 3DO mesh
    std::vector<std::string> part_names;
    std::vector<int> used_materials; // scene materials the faces use, first use first
};

// Raises ImportError naming each capacity the model needs more of, and by
// how much. `name` names what the scene leaves unnamed.
ModelPlan plan_model(const ImportScene& scene, const std::string& name);

} // namespace facetor::gltf_import
