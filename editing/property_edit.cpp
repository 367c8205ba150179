#include "editing/property_edit.h"

#include "editing/panels.h"
#include "model/errors.h"

namespace facetor {

namespace {

// The byte rows: the table's options visible, the option of the field's
// value checked, the chooser shown, `choice` stored through the range check.
template <typename Field, std::size_t N>
void choose_byte(PropertyDialogs& dialogs, const std::array<const char*, N>& captions, Field& field)
{
    show_radio_options(dialogs.options, captions);
    const int value = field;
    if (value >= 0 && static_cast<std::size_t>(value) < N) {
        dialogs.options.b[static_cast<std::size_t>(value)].checked = true;
    }
    dialogs.show_chooser();
    field = dialogs.options.choice;
}

void choose_node_type(PropertyDialogs& dialogs, type_hierarchy& node)
{
    OptionsState& options = dialogs.options;
    for (std::size_t k = 0; k < k_node_types.size(); ++k) {
        options.b[k].visible = true;
        options.b[k].caption = k_node_types[k].caption;
    }
    if (const int preselected = node_type_option(node.node_type); preselected >= 0) {
        options.b[static_cast<std::size_t>(preselected)].checked = true;
    }
    dialogs.show_chooser();
    // The previous use's result may be anything; only an option's own stores.
    if (options.choice >= 0 && options.choice < static_cast<int>(k_node_types.size())) {
        node.node_type = k_node_types[static_cast<std::size_t>(options.choice)].short_form;
    }
}

void choose_face_type(PropertyDialogs& dialogs, type_faces& face)
{
    OptionsState& options = dialogs.options;
    const std::array<bool, 3> checked = face_flags_of(face.face_type);
    for (std::size_t k = 0; k < k_face_flags.size(); ++k) {
        options.c[k].visible = true;
        options.c[k].caption = k_face_flags[k];
        options.c[k].checked = checked[k];
    }
    dialogs.show_chooser();
    face.face_type = face_type_of(options.choice);
}

} // namespace

std::array<bool, 3> face_flags_of(std::string_view face_type)
{
    static constexpr std::string_view long_forms[8] = {"",       "0x0001", "0x0002", "0x0003",
                                                       "0x0004", "0x0005", "0x0006", "0x0007"};
    static constexpr std::string_view short_forms[8] = {"",    "0x1", "0x2", "0x3",
                                                        "0x4", "0x5", "0x6", "0x7"};
    // Flags 1 to 7 only: no text checks nothing by a match of its own.
    for (int sum = 1; sum < 8; ++sum) {
        if (face_type == long_forms[sum] || face_type == short_forms[sum]) {
            return {(sum & 1) != 0, (sum & 2) != 0, (sum & 4) != 0};
        }
    }
    return {false, false, false};
}

std::string face_type_of(std::int32_t code)
{
    // By flag code: c1, c2, c3, c1+c2, c1+c3, c2+c3, all three, none.
    static constexpr const char* texts[8] = {"0x1", "0x2", "0x4", "0x3",
                                             "0x5", "0x6", "0x7", "0x0"};
    if (code < 0 || code > 7) {
        throw RangeError();
    }
    return texts[code];
}

int node_type_option(std::string_view node_type)
{
    for (std::size_t k = 0; k < k_node_types.size(); ++k) {
        if (node_type == k_node_types[k].long_form || node_type == k_node_types[k].short_form) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

bool mesh_grid_press(type_model& model, PropertyDialogs& dialogs, int col, int row)
{
    if (col != 0) {
        return false;
    }
    type_mesh& mesh = model.mesh(model.sel_mesh);
    switch (row) {
    case 1:
        choose_byte(dialogs, k_geometry_options, mesh.geometry_mode);
        return true;
    case 2:
        choose_byte(dialogs, k_lighting_options, mesh.lighting_mode);
        return true;
    case 3:
        choose_byte(dialogs, k_texture_options, mesh.texture_mode);
        return true;
    case 6:
        choose_node_type(dialogs, model.nodes[static_cast<std::size_t>(selected_node(model))]);
        return true;
    default:
        return false;
    }
}

bool face_grid_press(type_model& model, std::string& cur_material, PropertyDialogs& dialogs,
                     int col, int row)
{
    if (col != 0) {
        return false;
    }
    type_faces& face = model.mesh(model.sel_mesh).faces[model.sel_face];
    switch (row) {
    case 0:
        cur_material = face.face_material;
        if (dialogs.show_picker) {
            dialogs.show_picker();
        }
        return true;
    case 1:
        choose_face_type(dialogs, face);
        return true;
    case 2:
        choose_byte(dialogs, k_geometry_options, face.geo);
        return true;
    case 3:
        choose_byte(dialogs, k_lighting_options, face.light);
        return true;
    case 4:
        choose_byte(dialogs, k_texture_options, face.tex);
        return true;
    default:
        return false;
    }
}

} // namespace facetor
