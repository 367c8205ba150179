#include "editing/command_states.h"

#include "editing/element_edits.h"
#include "editing/mesh_creation.h"
#include "model/selection_set.h"

namespace facetor {

CommandStates command_states(const type_model& model, EditMode mode, bool clipboard_filled)
{
    CommandStates s;
    const std::size_t selected = selected_elements(model, mode).size();
    const bool mesh_exists = model.sel_mesh < model.geosets[0].mesh_count;
    const bool vertices = mode == vertex_mode && selected > 0;
    const bool faces = mode == face_mode && selected > 0;
    s.create_vertex = vertices;
    s.delete_vertex = vertices;
    s.create_face = vertices && selected >= 3; // more than 10 is refused with the reason
    s.delete_face = faces;
    s.carve_face = carving(model, mode).has_value();
    s.create_mesh = root_link(model).has_value();
    s.copy = faces;
    s.paste = mode == face_mode && mesh_exists && clipboard_filled;
    s.delete_selection = mode == mesh_mode ? mesh_exists : selected > 0;
    s.select_all = element_count(model, mode) > 0;
    return s;
}

} // namespace facetor
