#include "editing/panels.h"

#include "editing/number_text.h"

namespace facetor {

namespace {

PanelContent mesh_content(const type_model& model, char dp)
{
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    const type_hierarchy& node = model.nodes[selected_node(model)];
    return {Page::mesh_page,
            "MESH: " + integer_text(model.sel_mesh),
            {
                mesh.name,
                integer_text(mesh.geometry_mode),
                integer_text(mesh.lighting_mode),
                integer_text(mesh.texture_mode),
                node.node_name,
                node.node_flags,
                node.node_type,
                integer_text(node.parent),
                integer_text(node.child),
                integer_text(node.sibling),
                integer_text(node.num_children),
                real_text(node.offset_x, dp),
                real_text(node.offset_y, dp),
                real_text(node.offset_z, dp),
                real_text(node.pitch, dp),
                real_text(node.yaw, dp),
                real_text(node.roll, dp),
                real_text(node.pivot_x, dp),
                real_text(node.pivot_y, dp),
                real_text(node.pivot_z, dp),
            }};
}

PanelContent face_content(const type_model& model)
{
    const type_faces& face = model.mesh(model.sel_mesh).faces[model.sel_face];
    return {Page::face_page,
            "FACE: " + integer_text(model.sel_face),
            {
                face.face_material,
                face.face_type,
                integer_text(face.geo),
                integer_text(face.light),
                integer_text(face.tex),
            }};
}

PanelContent vertex_content(const type_model& model, char dp)
{
    const type_vertex& vertex = model.mesh(model.sel_mesh).vertices[model.sel_vertex];
    return {Page::vertex_page,
            "VERTEX: " + integer_text(model.sel_vertex),
            {real_text(vertex.x, dp), real_text(vertex.y, dp), real_text(vertex.z, dp)}};
}

} // namespace

int selected_node(const type_model& model)
{
    const int count = model.node_count;
    for (int i = 0; i < count; ++i) {
        if (static_cast<u8>(model.nodes[i].mesh.get()) == model.sel_mesh.get()) {
            return i;
        }
    }
    return count;
}

std::optional<PanelContent> panel_content(const type_model& model, EditMode mode,
                                          char decimal_point)
{
    switch (mode) {
    case mesh_mode:
        return mesh_content(model, decimal_point);
    case face_mode:
        return face_content(model);
    case vertex_mode:
        return vertex_content(model, decimal_point);
    }
    return std::nullopt;
}

} // namespace facetor
