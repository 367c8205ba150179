#pragma once
// Changing values through the "+" rows of the mesh and face grids: a press
// on such a row's label fills the option chooser with the row's choices,
// shows it (or, for a face's material, the texture picker) and stores the
// result in the model. The window supplies the dialogs and, when a press
// returns true, rewrites the page of the mode (refresh_panels).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "editing/options.h"
#include "model/model.h"

namespace facetor {

// Option captions in value order: geometry, lighting and texture modes.
inline constexpr std::array<const char*, 5> k_geometry_options{
    "Do not draw", "Draw only the vertices", "Wireframe", "Draw it with filled faces",
    "Draw it textured"};
inline constexpr std::array<const char*, 4> k_lighting_options{"Fully lit", "Not lit", "Good",
                                                               "Better"};
inline constexpr std::array<const char*, 3> k_texture_options{"Linear", "Perspective corrected",
                                                              "Perspective"};

// Node types: the option's caption, the two texts that preselect it, and
// the short one that choosing it stores.
struct NodeTypeOption {
    const char* caption;
    const char* long_form;
    const char* short_form;
};
inline constexpr std::array<NodeTypeOption, 7> k_node_types{{
    {"Hip", "0x00010", "0x10"},
    {"Torso (not humanoid)", "0x00001", "0x1"},
    {"Left leg", "0x00020", "0x20"},
    {"Left arm", "0x00002", "0x2"},
    {"Right leg", "0x00040", "0x40"},
    {"Right arm", "0x00004", "0x4"},
    {"Head", "0x00008", "0x8"},
}};

// Face type flags: the check boxes' captions.
inline constexpr std::array<const char*, 3> k_face_flags{"Two-sided", "Translucent",
                                                         "Collides with other objects"};

// The boxes a face type text checks: "0x0001" or "0x1" checks the first,
// and so on up to "0x0007" or "0x7" for all three; any other text, none.
std::array<bool, 3> face_flags_of(std::string_view face_type);

// The face type text for a flag code: "0x" and the digit of the flags' sum.
// A code outside 0..7 raises the range check error.
std::string face_type_of(std::int32_t code);

// The node type option a text preselects, -1 for none.
int node_type_option(std::string_view node_type);

// What the window lends the grids: the chooser's state, its modal show,
// and the texture picker's modal show (empty until there is a picker).
struct PropertyDialogs {
    OptionsState& options;
    std::function<void()> show_chooser;
    std::function<void()> show_picker;
};

// m_propMouseDown on cell (col, row) of m_prop: label cells of rows 1, 2, 3
// and 6 only. Returns whether the mesh page must be rewritten. A choice out
// of a field's range raises the range check error, the field unchanged.
bool mesh_grid_press(type_model& model, PropertyDialogs& dialogs, int col, int row);

// f_propMouseDown on cell (col, row) of f_prop: label cells of rows 0 to 4.
// Row 0 hands the face's material to the picker through `cur_material`.
bool face_grid_press(type_model& model, std::string& cur_material, PropertyDialogs& dialogs,
                     int col, int row);

} // namespace facetor
