// The plan of an imported model: nodes laid out with the parts of their
// meshes, numbered so that every link can be stored, the materials the
// faces use, and the capacities checked.
#include "gltf/import_model_plan.h"

#include <algorithm>
#include <utility>

#include "gltf/format_names.h"
#include "gltf/import_error.h"

namespace facetor::gltf_import {

namespace {

class ModelPlanner {
  public:
    ModelPlanner(const ImportScene& scene, const std::string& name)
        : scene_(scene), name_(format_safe_name(name))
    {
        if (name_.empty()) {
            name_ = "model";
        }
    }

    ModelPlan plan()
    {
        lay_out_nodes();
        number_nodes();
        count_materials();
        check_capacities();
        return std::move(plan_);
    }

  private:
    void lay_out_nodes();
    void number_nodes();
    void count_materials();
    void check_capacities();

    const ImportScene& scene_;
    std::string name_;
    ModelPlan plan_;
    std::size_t parents_ = 0;
};

void ModelPlanner::lay_out_nodes()
{
    std::vector<int> out_of(scene_.nodes.size());
    std::vector<std::vector<int>> parts_of(scene_.meshes.size());
    std::vector<bool> split(scene_.meshes.size(), false);
    for (std::size_t i = 0; i < scene_.nodes.size(); ++i) {
        const ImportNode& in = scene_.nodes[i];
        out_of[i] = static_cast<int>(plan_.nodes.size());
        OutNode& node = plan_.nodes.emplace_back();
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
                parts.push_back(static_cast<int>(plan_.parts.size()));
                plan_.parts.push_back(std::move(made[k]));
                plan_.part_names.push_back(k == 0 ? mesh_name
                                                  : mesh_name + "_part" + std::to_string(k + 1));
            }
        }
        // The first part stays on the node, each further one hangs on a
        // child of its own at the same place.
        const int self = out_of[i];
        const std::string base_name = node.name;
        for (std::size_t k = 0; k < parts.size(); ++k) {
            if (k == 0) {
                plan_.nodes[static_cast<std::size_t>(self)].mesh = parts[0];
                continue;
            }
            OutNode& child = plan_.nodes.emplace_back();
            child.parent = self;
            child.mesh = parts[k];
            child.name = base_name + "_part" + std::to_string(k + 1);
        }
    }
}

// Node indices: the tree order, unless that puts a parent at an index
// no link can name; then parents first.
void ModelPlanner::number_nodes()
{
    const std::size_t count = plan_.nodes.size();
    std::vector<bool> has_children(count, false);
    for (const OutNode& n : plan_.nodes) {
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
    plan_.order = std::move(order);
}

void ModelPlanner::count_materials()
{
    std::vector<bool> used(scene_.materials.size(), false);
    for (const Part& part : plan_.parts) {
        for (const PartFace& face : part.faces) {
            if (!used[static_cast<std::size_t>(face.material)]) {
                used[static_cast<std::size_t>(face.material)] = true;
                plan_.used_materials.push_back(face.material);
            }
        }
    }
}

void ModelPlanner::check_capacities()
{
    std::vector<std::string> overs;
    if (plan_.parts.size() > k_max_meshes) {
        overs.push_back(capacity_over("meshes", plan_.parts.size(), k_max_meshes));
    }
    if (plan_.nodes.size() > k_max_nodes) {
        overs.push_back(capacity_over("nodes", plan_.nodes.size(), k_max_nodes));
    } else if (parents_ > k_max_linked_node + 1) {
        overs.push_back(capacity_over("nodes with children", parents_, k_max_linked_node + 1));
    }
    if (plan_.used_materials.size() > k_max_materials) {
        overs.push_back(capacity_over("materials", plan_.used_materials.size(), k_max_materials));
    }
    if (!overs.empty()) {
        throw capacity_error(overs);
    }
}

} // namespace

ModelPlan plan_model(const ImportScene& scene, const std::string& name)
{
    return ModelPlanner(scene, name).plan();
}

} // namespace facetor::gltf_import
