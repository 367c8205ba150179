#pragma once
// What the side panel shows: the row labels of the three property grids and,
// for the current edit mode, the caption strip and the value column as text.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/edit_modes.h"
#include "model/model.h"

namespace facetor {

inline constexpr int k_mesh_rows = 20;
inline constexpr int k_face_rows = 5;
inline constexpr int k_vertex_rows = 3;

// Column 0 of each grid. A label starting with "+" marks a row whose value is
// changed by pressing the mouse on the label.
// clang-format off
inline constexpr std::array<std::string_view, k_mesh_rows> m_prop_labels{
    "Name", "+GeometryMode", "+LightingMode", "+TextureMode",
    "Node Name", "Node Flags", "+Node Type",
    "Node Parent", "Node Child", "Node Sibling", "Node numChildren",
    "Offset X", "Offset Y", "Offset Z",
    "Pitch", "Yaw", "Roll",
    "PivotX", "PivotY", "PivotZ"};
inline constexpr std::array<std::string_view, k_face_rows> f_prop_labels{
    "+Material", "+Type", "+Geo", "+Light", "+Tex"};
inline constexpr std::array<std::string_view, k_vertex_rows> v_prop_labels{"X", "Y", "Z"};
// clang-format on

// The hierarchy node shown with the selected mesh: the first node whose mesh
// link equals `sel_mesh` as an 8-bit value (so -1 never matches), otherwise
// the spare slot at `node_count`, which always exists.
int selected_node(const type_model& model);

// The caption text and the value column of one page.
struct PanelContent {
    Page page;
    std::string caption;             // "MESH: n", "FACE: n", "VERTEX: n"
    std::vector<std::string> values; // column 1, row 0 first; 8-bit text as stored
};

// What refresh_panels writes for `mode`: the page of that mode only. A mode
// value outside the three modes writes nothing. Reals use `decimal_point`.
std::optional<PanelContent> panel_content(const type_model& model, EditMode mode,
                                          char decimal_point);

} // namespace facetor
