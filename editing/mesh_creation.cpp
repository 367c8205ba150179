#include "editing/mesh_creation.h"

#include <algorithm>
#include <memory>

#include "editing/typed_values.h"
#include "model/selection_set.h"

namespace facetor {

namespace {

// Links name nodes up to this one.
constexpr int k_last_linkable_node = node_link::max;

// Screen right and up of each view in model axes, as the drawing projects
// them with the view not turned: view 1 shows y to the right and z up,
// view 2 -x and -y, view 3 -x and z.
struct ViewPlane {
    Vec3 right, up;
};

ViewPlane plane_of(int view)
{
    switch (view) {
    case 1:
        return {{0, 1, 0}, {0, 0, 1}};
    case 3:
        return {{-1, 0, 0}, {0, 0, 1}};
    default:
        return {{-1, 0, 0}, {0, -1, 0}};
    }
}

// The modes of a new mesh with nothing selected to take them from: those
// of an imported textured mesh (drawn textured, fully lit, perspective
// corrected), since its face has a material.
constexpr int k_geometry = 4, k_lighting = 3, k_texture = 1;

std::shared_ptr<type_mesh> triangle_mesh(const type_model& model, const std::string& name, int view,
                                         double size, const std::string& material)
{
    auto mesh = std::make_shared<type_mesh>();
    mesh->name = name;
    const bool modes_from_selection = model.sel_mesh < model.geosets[0].mesh_count;
    const type_mesh& like = model.mesh(model.sel_mesh);
    mesh->geometry_mode = modes_from_selection ? static_cast<int>(like.geometry_mode) : k_geometry;
    mesh->lighting_mode = modes_from_selection ? static_cast<int>(like.lighting_mode) : k_lighting;
    mesh->texture_mode = modes_from_selection ? static_cast<int>(like.texture_mode) : k_texture;

    // The texture spans the triangle, (0, 0) at its top left.
    static constexpr std::array<type_tvertex, 3> uv{{{0, 1}, {1, 1}, {0.5, 0}}};
    const std::array<Vec3, 3> corners = new_triangle(view, size);
    mesh->vertex_count = 3;
    mesh->tvertex_count = 3;
    for (std::size_t k = 0; k < 3; ++k) {
        mesh->vertices[k].x = corners[k][0];
        mesh->vertices[k].y = corners[k][1];
        mesh->vertices[k].z = corners[k][2];
        mesh->tvertices[k] = uv[k];
        mesh->radius = std::max(mesh->radius, length(corners[k]));
    }
    mesh->face_count = 1;
    type_faces& face = mesh->faces[0];
    face.face_material = material;
    face.face_type = "0x0";
    face.geo = mesh->geometry_mode;
    face.light = mesh->lighting_mode;
    face.tex = mesh->texture_mode;
    face.corner_count = 3;
    for (int k = 1; k <= 3; ++k) {
        face.corner_vertex[k] = k - 1;
        face.corner_tvertex[k] = k - 1;
    }
    return mesh;
}

type_hierarchy root_node(const std::string& name, int mesh)
{
    type_hierarchy node;
    node.node_flags = "0x0000";
    node.node_type = "0x00001";
    node.node_name = name;
    node.mesh = mesh;
    node.parent = -1;
    node.child = -1;
    node.sibling = -1;
    return node;
}

} // namespace

std::optional<RootLink> root_link(const type_model& model)
{
    const int count = model.node_count;
    int root = 0;
    while (root < count && model.nodes[root].parent != -1) {
        ++root;
    }
    if (root == count) {
        return RootLink{}; // the new node is the first root
    }
    if (count > k_last_linkable_node) {
        return std::nullopt;
    }
    std::array<bool, k_max_nodes + 1> visited{};
    visited[static_cast<std::size_t>(root)] = true;
    for (int next = model.nodes[root].sibling; next != -1; next = model.nodes[root].sibling) {
        if (next < 0 || next >= count || visited[static_cast<std::size_t>(next)] ||
            model.nodes[next].parent != -1) {
            return std::nullopt;
        }
        visited[static_cast<std::size_t>(next)] = true;
        root = next;
    }
    return RootLink{root};
}

double new_mesh_size(int view_width, std::int32_t zoom)
{
    if (zoom <= 0 || view_width <= 0) {
        return 0.1;
    }
    return static_cast<double>(view_width) / zoom / 10;
}

std::array<Vec3, 3> new_triangle(int view, double size)
{
    const ViewPlane p = plane_of(view);
    const double h = size / 2;
    // Right and up in the view; 0.0 + keeps a zero from turning into -0.
    const auto at = [&](double right, double up) {
        Vec3 v;
        for (std::size_t i = 0; i < 3; ++i) {
            v[i] = 0.0 + (right * p.right[i] + up * p.up[i]);
        }
        return v;
    };
    return {at(-h, -h), at(h, -h), at(0, h)};
}

std::string default_mesh_name(const type_model& model)
{
    const type_geosets& geoset = model.geosets[0];
    for (int n = geoset.mesh_count;; ++n) {
        const std::string name = "mesh" + std::to_string(n);
        const auto end = geoset.meshes.begin() + geoset.mesh_count;
        if (std::none_of(geoset.meshes.begin(), end,
                         [&](const type_mesh& m) { return m.name == name; })) {
            return name;
        }
    }
}

EditOutcome create_mesh(type_model& model, const std::string& name, int view, double size)
{
    const std::optional<RootLink> link = root_link(model);
    if (!link) {
        return {};
    }
    const TypedValue typed = parse_typed(Field::mesh_name, name, '.');
    const bool list_empty = model.material_count == 0;
    for (const std::string& refusal : {typed.refusal, mesh_room(model, 1), node_room(model, 1),
                                       material_room(model, list_empty ? 1 : 0)}) {
        if (!refusal.empty()) {
            return {{}, refusal};
        }
    }
    const std::string material = list_empty ? k_default_material : model.materials[0];
    const int m = model.geosets[0].mesh_count;
    const int n = model.node_count;
    StepRecorder step(model, "Create Mesh");
    if (list_empty) {
        add_materials(step, model, {material});
    }
    step.apply(model,
               insertion<MeshRecord>(model, 0, {static_cast<std::uint16_t>(m)},
                                     {triangle_mesh(model, typed.text, view, size, material)}));
    step.apply(model, insertion<type_hierarchy>(model, 0, {static_cast<std::uint16_t>(n)},
                                                {root_node(typed.text, m)}));
    if (link->last_root >= 0) {
        step.set(model, {Field::node_sibling, 0, static_cast<std::uint16_t>(link->last_root)}, n);
    }
    if (model.geoset_count == 0) {
        step.set(model, {Field::geoset_count, 0, 0}, 1);
    }
    refresh_normals(step, model, m, std::array{0});
    model.sel_mesh = m;
    model.sel_face = 0;
    model.sel_vertex = 0;
    clear_selection(model);
    return {std::move(step).finish(model), {}};
}

} // namespace facetor
