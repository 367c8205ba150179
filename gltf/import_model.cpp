#include "gltf/import_model.h"

#include <algorithm>

#include "gltf/import_model_builder.h"

namespace facetor::gltf_import {

void ModelBuilder::lay_out_nodes()
{
    std::vector<int> out_of(scene_.nodes.size());
    std::vector<std::vector<int>> parts_of(scene_.meshes.size());
    std::vector<bool> split(scene_.meshes.size(), false);
    for (std::size_t i = 0; i < scene_.nodes.size(); ++i) {
        const ImportNode& in = scene_.nodes[i];
        out_of[i] = static_cast<int>(nodes_.size());
        OutNode& node = nodes_.emplace_back();
        node.parent = in.parent < 0 ? -1 : out_of[static_cast<std::size_t>(in.parent)];
        node.offset = in.offset;
        const ImportMesh* mesh =
            in.mesh < 0 ? nullptr : &scene_.meshes[static_cast<std::size_t>(in.mesh)];
        node.name = format_safe_name(in.name);
        if (node.name.empty() && mesh != nullptr) {
            node.name = format_safe_name(mesh->name);
        }
        if (node.name.empty()) {
            node.name = name_ + "_" + std::to_string(in.index);
        }
        if (mesh == nullptr) {
            continue;
        }
        std::vector<int>& parts = parts_of[static_cast<std::size_t>(in.mesh)];
        if (!split[static_cast<std::size_t>(in.mesh)]) {
            split[static_cast<std::size_t>(in.mesh)] = true;
            std::string mesh_name = format_safe_name(mesh->name);
            if (mesh_name.empty()) {
                mesh_name = node.name;
            }
            std::vector<Part> made = split_mesh(*mesh);
            for (std::size_t k = 0; k < made.size(); ++k) {
                parts.push_back(static_cast<int>(parts_.size()));
                parts_.push_back(std::move(made[k]));
                part_names_.push_back(k == 0 ? mesh_name
                                             : mesh_name + "_part" + std::to_string(k + 1));
            }
        }
        // The first part stays on the node, each further one hangs on a
        // child of its own at the same place.
        const int self = out_of[i];
        const std::string base_name = node.name;
        for (std::size_t k = 0; k < parts.size(); ++k) {
            if (k == 0) {
                nodes_[static_cast<std::size_t>(self)].mesh = parts[0];
                continue;
            }
            OutNode& child = nodes_.emplace_back();
            child.parent = self;
            child.mesh = parts[k];
            child.name = base_name + "_part" + std::to_string(k + 1);
        }
    }
}

// Node indices: the tree order, unless that puts a parent at an index
// no link can name; then parents first.
std::vector<int> ModelBuilder::numbering()
{
    const std::size_t count = nodes_.size();
    std::vector<bool> has_children(count, false);
    for (const OutNode& n : nodes_) {
        if (n.parent >= 0) {
            has_children[static_cast<std::size_t>(n.parent)] = true;
        }
    }
    std::vector<int> order(count); // old index of each new one
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = static_cast<int>(i);
    }
    bool fits = true;
    for (std::size_t i = k_max_linked_node + 1; i < count; ++i) {
        fits = fits && !has_children[i];
    }
    if (!fits) {
        std::stable_partition(order.begin(), order.end(),
                              [&](int n) { return has_children[static_cast<std::size_t>(n)]; });
    }
    parents_ = static_cast<std::size_t>(std::count(has_children.begin(), has_children.end(), true));
    return order;
}

void ModelBuilder::count_materials()
{
    std::vector<bool> used(scene_.materials.size(), false);
    for (const Part& part : parts_) {
        for (const PartFace& face : part.faces) {
            if (!used[static_cast<std::size_t>(face.material)]) {
                used[static_cast<std::size_t>(face.material)] = true;
                used_materials_.push_back(face.material);
            }
        }
    }
}

void ModelBuilder::check_capacities()
{
    std::vector<std::string> overs;
    if (parts_.size() > k_max_meshes) {
        overs.push_back(capacity_over("meshes", parts_.size(), k_max_meshes));
    }
    if (nodes_.size() > k_max_nodes) {
        overs.push_back(capacity_over("nodes", nodes_.size(), k_max_nodes));
    } else if (parents_ > k_max_linked_node + 1) {
        overs.push_back(capacity_over("nodes with children", parents_, k_max_linked_node + 1));
    }
    if (used_materials_.size() > k_max_materials) {
        overs.push_back(capacity_over("materials", used_materials_.size(), k_max_materials));
    }
    if (!overs.empty()) {
        throw capacity_error(overs);
    }
}

} // namespace facetor::gltf_import

namespace facetor {

ImportResult build_import_model(const ImportScene& scene, const std::string& name)
{
    return gltf_import::ModelBuilder(scene, name).build();
}

} // namespace facetor
