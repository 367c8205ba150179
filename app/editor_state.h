#pragma once
// Everything the editor remembers between events, owned by the main window.
// The cores take the parts they use.
#include <cstdint>
#include <memory>
#include <string>

#include "editing/document.h"
#include "model/model.h"
#include "model/progress.h"
#include "model/reader.h"
#include "views/navigation.h"
#include "views/picking.h"
#include "views/render.h"
#include "views/view_state.h"

namespace facetor {

struct EditorState {
    std::unique_ptr<type_model> model = make_model();
    ReaderState reader;
    Progress progress; // the bar's position; a load does not reset it
    ViewState view;
    ViewImages images; // V_Canvas and the pictures of Image1..Image3
    EditMode edit_mode = mesh_mode;
    std::uint8_t first_load = 1; // while 1, a load reads "dflt.3do" without asking
    NavigationState nav;
    PickState pick;
    std::string cur_material; // the edited face's material, for the texture picker
    ModelDocument document;   // the model's file, and the edit history since it was read
};

} // namespace facetor
