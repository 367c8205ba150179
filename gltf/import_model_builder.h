#pragma once
// The builder behind build_import_model, declared for the files that hold
// its parts: the node layout, numbering and capacity checks
// (import_model.cpp) and the filling of the model's records
// (import_model_fill.cpp).
#include <cstddef>
#include <string>
#include <vector>

#include "gltf/format_names.h"
#include "gltf/import.h"
#include "gltf/import_parts.h"
#include "gltf/import_scene.h"

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

class ModelBuilder {
  public:
    ModelBuilder(const ImportScene& scene, const std::string& name)
        : scene_(scene), name_(format_safe_name(name))
    {
        if (name_.empty()) {
            name_ = "model";
        }
    }

    ImportResult build()
    {
        result_.warnings = scene_.warnings;
        lay_out_nodes();
        const std::vector<int> order = numbering();
        count_materials();
        check_capacities();
        fill(order);
        return std::move(result_);
    }

  private:
    // The node layout, numbering and capacity checks
    void lay_out_nodes();
    std::vector<int> numbering();
    void count_materials();
    void check_capacities();

    // The filling of the model's records
    void fill(const std::vector<int>& order);
    void fill_mesh(type_mesh& out, const Part& part, const std::string& name);
    const ImportMaterial& material(const PartFace& face) const;
    void fill_nodes(type_model& model, const std::vector<int>& order);
    static double model_radius(const type_model& model);

    const ImportScene& scene_;
    std::string name_;
    ImportResult result_;
    std::vector<OutNode> nodes_;
    std::vector<Part> parts_;
    std::vector<std::string> part_names_;
    std::size_t parents_ = 0;
    std::vector<int> used_materials_; // scene materials the faces use, first use first
};

} // namespace facetor::gltf_import
