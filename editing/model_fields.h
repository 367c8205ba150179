#pragma once
// The model's editable fields by name, so that an edit can say what it
// changed and put it back: a vertex's coordinates, a mesh's name and modes,
// a node's texts, offsets, angles and pivot, a face's material, type and
// modes. All of geoset 0, the only one the editor changes.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/model.h"

namespace facetor {

enum class Field : std::uint8_t {
    // of vertex `index` of mesh `mesh`
    vertex_x,
    vertex_y,
    vertex_z,
    // of mesh `mesh`
    mesh_name,
    geometry_mode,
    lighting_mode,
    texture_mode,
    // of node `index`
    node_name,
    node_flags,
    node_type,
    offset_x,
    offset_y,
    offset_z,
    pitch,
    yaw,
    roll,
    pivot_x,
    pivot_y,
    pivot_z,
    // of face `index` of mesh `mesh`
    face_material,
    face_type,
    face_geo,
    face_light,
    face_tex,
    // Kept by the edits that add faces, which compute them anew.
    // of vertex `index` of mesh `mesh`
    vertex_normal_x,
    vertex_normal_y,
    vertex_normal_z,
    // of face `index` of mesh `mesh`
    face_normal_x,
    face_normal_y,
    face_normal_z,
    // of node `index`: the link that makes a new root the last of the roots
    node_sibling,
    // of the model: a first mesh makes geoset 0 exist
    geoset_count,
};

struct FieldRef {
    Field field = Field::vertex_x;
    std::uint8_t mesh = 0;   // 0..32
    std::uint16_t index = 0; // vertex or face 0..500, node 0..35
    friend bool operator==(const FieldRef&, const FieldRef&) = default;
    // One number per field of the model, for sets and maps.
    std::uint32_t key() const
    {
        return static_cast<std::uint32_t>(field) << 24 | std::uint32_t{mesh} << 16 | index;
    }
};

// Texts (names, flags, types, the material) against numbers (doubles, and
// the byte modes, whose values a double holds exactly).
bool is_text(Field field);
// Offsets and pivots: a change moves the node, whose placement is then run again.
bool places_nodes(Field field);

// What an undo of a change of the field is called: "Set Geometry Mode".
std::string_view step_name(Field field);

// Reading and writing a field. A reference outside the arrays' slots raises
// the range check error, and so does a byte mode out of its range, which
// leaves the field as it was.
double number_of(const type_model& model, FieldRef at);
void set_number(type_model& model, FieldRef at, double value);
const std::string& text_of(const type_model& model, FieldRef at);
void set_text(type_model& model, FieldRef at, const std::string& value);

} // namespace facetor
