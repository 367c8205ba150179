#include "editing/model_fields.h"

#include <array>

#include "model/errors.h"

namespace facetor {

namespace {

template <typename Model> auto& mesh_at(Model& model, FieldRef at)
{
    if (at.mesh > k_max_meshes) {
        throw RangeError();
    }
    return model.mesh(at.mesh);
}

// The slot `at.index` of one of the model's fixed arrays; a RangeError past it.
template <typename Array> auto& slot(Array& array, FieldRef at)
{
    if (at.index >= array.size()) {
        throw RangeError();
    }
    return array[at.index];
}

template <typename Model> auto& vertex_at(Model& model, FieldRef at)
{
    return slot(mesh_at(model, at).vertices, at);
}

template <typename Model> auto& face_at(Model& model, FieldRef at)
{
    return slot(mesh_at(model, at).faces, at);
}

template <typename Model> auto& vertex_normal_at(Model& model, FieldRef at)
{
    return slot(mesh_at(model, at).vertex_normals, at);
}

template <typename Model> auto& face_normal_at(Model& model, FieldRef at)
{
    return slot(mesh_at(model, at).face_normals, at);
}

template <typename Model> auto& node_at(Model& model, FieldRef at)
{
    return slot(model.nodes, at);
}

// The double a number field is, or nullptr for a byte mode or a text.
template <typename Model> auto* double_field(Model& model, FieldRef at)
{
    switch (at.field) {
    case Field::vertex_x:
        return &vertex_at(model, at).x;
    case Field::vertex_y:
        return &vertex_at(model, at).y;
    case Field::vertex_z:
        return &vertex_at(model, at).z;
    case Field::offset_x:
        return &node_at(model, at).offset_x;
    case Field::offset_y:
        return &node_at(model, at).offset_y;
    case Field::offset_z:
        return &node_at(model, at).offset_z;
    case Field::pitch:
        return &node_at(model, at).pitch;
    case Field::yaw:
        return &node_at(model, at).yaw;
    case Field::roll:
        return &node_at(model, at).roll;
    case Field::pivot_x:
        return &node_at(model, at).pivot_x;
    case Field::pivot_y:
        return &node_at(model, at).pivot_y;
    case Field::pivot_z:
        return &node_at(model, at).pivot_z;
    case Field::vertex_normal_x:
        return &vertex_normal_at(model, at).x;
    case Field::vertex_normal_y:
        return &vertex_normal_at(model, at).y;
    case Field::vertex_normal_z:
        return &vertex_normal_at(model, at).z;
    case Field::face_normal_x:
        return &face_normal_at(model, at).x;
    case Field::face_normal_y:
        return &face_normal_at(model, at).y;
    case Field::face_normal_z:
        return &face_normal_at(model, at).z;
    default:
        return static_cast<decltype(&vertex_at(model, at).x)>(nullptr);
    }
}

// Byte modes, a node link and the geoset count as ints; the ranged types
// check a stored value.
template <typename Model, typename Visit> void byte_field(Model& model, FieldRef at, Visit visit)
{
    switch (at.field) {
    case Field::geometry_mode:
        return visit(mesh_at(model, at).geometry_mode);
    case Field::lighting_mode:
        return visit(mesh_at(model, at).lighting_mode);
    case Field::texture_mode:
        return visit(mesh_at(model, at).texture_mode);
    case Field::face_geo:
        return visit(face_at(model, at).geo);
    case Field::face_light:
        return visit(face_at(model, at).light);
    case Field::face_tex:
        return visit(face_at(model, at).tex);
    case Field::node_sibling:
        return visit(node_at(model, at).sibling);
    case Field::geoset_count:
        return visit(model.geoset_count);
    default:
        throw RangeError(); // not a number field
    }
}

} // namespace

bool is_text(Field field)
{
    switch (field) {
    case Field::mesh_name:
    case Field::node_name:
    case Field::node_flags:
    case Field::node_type:
    case Field::face_material:
    case Field::face_type:
        return true;
    default:
        return false;
    }
}

bool places_nodes(Field field)
{
    switch (field) {
    case Field::offset_x:
    case Field::offset_y:
    case Field::offset_z:
    case Field::pivot_x:
    case Field::pivot_y:
    case Field::pivot_z:
        return true;
    default:
        return false;
    }
}

std::string_view step_name(Field field)
{
    // In the order of the enumeration.
    static constexpr std::array<std::string_view, 32> names{"Set Vertex X",
                                                            "Set Vertex Y",
                                                            "Set Vertex Z",
                                                            "Rename Mesh",
                                                            "Set Geometry Mode",
                                                            "Set Lighting Mode",
                                                            "Set Texture Mode",
                                                            "Rename Node",
                                                            "Set Node Flags",
                                                            "Set Node Type",
                                                            "Set Offset X",
                                                            "Set Offset Y",
                                                            "Set Offset Z",
                                                            "Set Pitch",
                                                            "Set Yaw",
                                                            "Set Roll",
                                                            "Set Pivot X",
                                                            "Set Pivot Y",
                                                            "Set Pivot Z",
                                                            "Set Material",
                                                            "Set Face Type",
                                                            "Set Face Geometry Mode",
                                                            "Set Face Lighting Mode",
                                                            "Set Face Texture Mode",
                                                            "Set Vertex Normal X",
                                                            "Set Vertex Normal Y",
                                                            "Set Vertex Normal Z",
                                                            "Set Face Normal X",
                                                            "Set Face Normal Y",
                                                            "Set Face Normal Z",
                                                            "Link Node",
                                                            "Set Geoset Count"};
    return names.at(static_cast<std::size_t>(field));
}

double number_of(const type_model& model, FieldRef at)
{
    if (const double* value = double_field(model, at)) {
        return *value;
    }
    double value = 0;
    byte_field(model, at, [&](const auto& field) { value = field; });
    return value;
}

void set_number(type_model& model, FieldRef at, double value)
{
    if (double* field = double_field(model, at)) {
        *field = value;
        return;
    }
    // -1 is a node link's "none"; each field's own range is checked as it is stored.
    if (!(value >= -1 && value <= 255)) {
        throw RangeError();
    }
    byte_field(model, at, [&](auto& field) { field = static_cast<int>(value); });
}

const std::string& text_of(const type_model& model, FieldRef at)
{
    switch (at.field) {
    case Field::mesh_name:
        return mesh_at(model, at).name;
    case Field::node_name:
        return node_at(model, at).node_name;
    case Field::node_flags:
        return node_at(model, at).node_flags;
    case Field::node_type:
        return node_at(model, at).node_type;
    case Field::face_material:
        return face_at(model, at).face_material.str();
    case Field::face_type:
        return face_at(model, at).face_type;
    default:
        throw RangeError(); // not a text field
    }
}

void set_text(type_model& model, FieldRef at, const std::string& value)
{
    switch (at.field) {
    case Field::mesh_name:
        mesh_at(model, at).name = value;
        return;
    case Field::node_name:
        node_at(model, at).node_name = value;
        return;
    case Field::node_flags:
        node_at(model, at).node_flags = value;
        return;
    case Field::node_type:
        node_at(model, at).node_type = value;
        return;
    case Field::face_material:
        face_at(model, at).face_material = value;
        return;
    case Field::face_type:
        face_at(model, at).face_type = value;
        return;
    default:
        throw RangeError(); // not a text field
    }
}

} // namespace facetor
