#include "gltf/import_model_fill.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/vector_math.h"

namespace facetor::gltf_import {

namespace {

// The import's choices for what glTF does not say (see the README).
constexpr int k_geometry_textured = 4; // "Draw it textured"
constexpr int k_geometry_filled = 3;   // "Draw it with filled faces"
constexpr int k_lighting = 3;          // "Better"
constexpr int k_texture_perspective_corrected = 1;
constexpr int k_texture_linear = 0;
constexpr const char* k_node_flags = "0x0000";
constexpr const char* k_node_type = "0x00001";

// glTF numbers are floats: a double that is one (or rounds to one) is
// stored as the shortest decimal that reads back as that float, so that the
// file says 0.05 where the glTF meant 0.05, not 0.05000000074505806.
double as_written(double v)
{
    const auto f = static_cast<float>(v);
    if (!std::isfinite(f)) {
        return v;
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, f).ptr;
    double out = v;
    std::from_chars(text, end, out);
    return out;
}

class ModelFiller {
  public:
    ModelFiller(const ImportScene& scene, const ModelPlan& plan, std::vector<std::string>& warnings)
        : scene_(scene), plan_(plan), warnings_(warnings)
    {
    }

    std::unique_ptr<type_model> fill();

  private:
    void fill_mesh(type_mesh& out, const Part& part, const std::string& name);
    const ImportMaterial& material(const PartFace& face) const;
    void fill_nodes(type_model& model);
    static double model_radius(const type_model& model);

    const ImportScene& scene_;
    const ModelPlan& plan_;
    std::vector<std::string>& warnings_;
};

std::unique_ptr<type_model> ModelFiller::fill()
{
    std::unique_ptr<type_model> filled = make_model();
    type_model& model = *filled;
    model.geoset_count = 1;
    model.material_count = static_cast<long long>(plan_.used_materials.size());
    for (std::size_t i = 0; i < plan_.used_materials.size(); ++i) {
        model.materials[i] =
            scene_.materials[static_cast<std::size_t>(plan_.used_materials[i])].name;
    }
    type_geosets& geoset = model.geosets[0];
    geoset.mesh_count = static_cast<long long>(plan_.parts.size());
    for (std::size_t m = 0; m < plan_.parts.size(); ++m) {
        fill_mesh(geoset.meshes[m], plan_.parts[m], plan_.part_names[m]);
    }
    fill_nodes(model);
    place_nodes(model);
    model.radius = as_written(model_radius(model));
    return filled;
}

void ModelFiller::fill_mesh(type_mesh& out, const Part& part, const std::string& name)
{
    out.name = name;
    bool textured = false;
    for (const PartFace& face : part.faces) {
        textured = textured || material(face).textured;
    }
    out.geometry_mode = textured ? k_geometry_textured : k_geometry_filled;
    out.lighting_mode = k_lighting;
    out.texture_mode = textured ? k_texture_perspective_corrected : k_texture_linear;
    out.vertex_count = static_cast<long long>(part.positions.size());
    double radius = 0;
    for (std::size_t v = 0; v < part.positions.size(); ++v) {
        const Vec3 p = {as_written(part.positions[v][0]), as_written(part.positions[v][1]),
                        as_written(part.positions[v][2])};
        out.vertices[v].x = p[0];
        out.vertices[v].y = p[1];
        out.vertices[v].z = p[2];
        out.vertex_normals[v] = {as_written(part.normals[v][0]), as_written(part.normals[v][1]),
                                 as_written(part.normals[v][2])};
        radius = std::max(radius, length(p));
    }
    out.radius = as_written(radius);
    out.tvertex_count = static_cast<long long>(part.uvs.size());
    for (std::size_t t = 0; t < part.uvs.size(); ++t) {
        out.tvertices[t] = {as_written(part.uvs[t][0]), as_written(part.uvs[t][1])};
    }
    out.face_count = static_cast<long long>(part.faces.size());
    for (std::size_t f = 0; f < part.faces.size(); ++f) {
        const PartFace& in = part.faces[f];
        const ImportMaterial& m = material(in);
        type_faces& face = out.faces[f];
        face.face_material = m.name;
        face.geo = m.textured ? k_geometry_textured : k_geometry_filled;
        face.light = k_lighting;
        face.tex = m.textured ? k_texture_perspective_corrected : k_texture_linear;
        face.extra_light = 0;
        // The face type's short form: two-sided 1, translucent 2.
        face.face_type = "0x" + std::to_string((m.double_sided ? 1 : 0) | (m.translucent ? 2 : 0));
        face.corner_count = 3;
        for (std::size_t k = 0; k < 3; ++k) {
            face.corner_vertex[k + 1] = in.vertex[k];
            face.corner_tvertex[k + 1] = in.tvertex[k];
        }
        out.face_normals[f] = {as_written(in.normal[0]), as_written(in.normal[1]),
                               as_written(in.normal[2])};
    }
}

const ImportMaterial& ModelFiller::material(const PartFace& face) const
{
    return scene_.materials[static_cast<std::size_t>(face.material)];
}

void ModelFiller::fill_nodes(type_model& model)
{
    const std::vector<int>& order = plan_.order;
    const std::size_t count = order.size();
    std::vector<int> new_of(count);
    for (std::size_t i = 0; i < count; ++i) {
        new_of[static_cast<std::size_t>(order[i])] = static_cast<int>(i);
    }
    bool unnamed = false, crowded = false;
    const auto link = [&](int n) -> int {
        if (n > k_max_linked_node) {
            unnamed = true;
            return -1;
        }
        return n;
    };
    model.node_count = static_cast<long long>(count);
    int last_root = -1;
    std::vector<int> last_child(count, -1);
    for (std::size_t i = 0; i < count; ++i) {
        const OutNode& in = plan_.nodes[static_cast<std::size_t>(order[i])];
        type_hierarchy& node = model.nodes[i];
        node.node_flags = k_node_flags;
        node.node_type = k_node_type;
        node.node_name = in.name;
        node.mesh = in.mesh;
        node.parent = in.parent < 0 ? -1 : new_of[static_cast<std::size_t>(in.parent)];
        node.child = -1;
        node.sibling = -1;
        node.offset_x = as_written(in.offset[0]);
        node.offset_y = as_written(in.offset[1]);
        node.offset_z = as_written(in.offset[2]);
    }
    // Children and siblings in index order: a parent's child link names
    // its first child, each child's sibling link the next.
    for (std::size_t i = 0; i < count; ++i) {
        type_hierarchy& node = model.nodes[i];
        int& previous =
            node.parent < 0 ? last_root : last_child[static_cast<std::size_t>(node.parent)];
        if (previous >= 0) {
            model.nodes[static_cast<std::size_t>(previous)].sibling = link(static_cast<int>(i));
        } else if (node.parent >= 0) {
            model.nodes[static_cast<std::size_t>(node.parent.get())].child =
                link(static_cast<int>(i));
        }
        previous = static_cast<int>(i);
        if (node.parent >= 0) {
            type_hierarchy& parent = model.nodes[static_cast<std::size_t>(node.parent.get())];
            if (parent.num_children < count_children::max) {
                parent.num_children = parent.num_children + 1;
            } else {
                crowded = true;
            }
        }
    }
    if (unnamed) {
        warnings_.push_back("nodes 33 and 34 cannot be named by a child or sibling "
                            "link; those links are -1 (placement is unchanged)");
    }
    if (crowded) {
        warnings_.push_back("a node with more than 16 children shows 16 as its child count");
    }
}

double ModelFiller::model_radius(const type_model& model)
{
    double radius = 0;
    for (int n = 0; n < model.node_count; ++n) {
        const type_hierarchy& node = model.nodes[n];
        if (node.mesh < 0) {
            continue;
        }
        const type_mesh& mesh = model.mesh(node.mesh);
        for (int v = 0; v < mesh.vertex_count; ++v) {
            const double x = mesh.vertices[v].x + node.world_x;
            const double y = mesh.vertices[v].y + node.world_y;
            const double z = mesh.vertices[v].z + node.world_z;
            radius = std::max(radius, length({x, y, z}));
        }
    }
    return radius;
}

} // namespace

std::unique_ptr<type_model> fill_model(const ImportScene& scene, const ModelPlan& plan,
                                       std::vector<std::string>& warnings)
{
    return ModelFiller(scene, plan, warnings).fill();
}

} // namespace facetor::gltf_import
