#pragma once
// Which of the editing commands have something to act on, for the selection
// and the mode in hand: the window greys the others. A command that would
// pass a capacity stays enabled and says why it refuses.
#include "model/model.h"

namespace facetor {

struct CommandStates {
    // The Options menu.
    bool create_vertex = false;
    bool delete_vertex = false;
    bool create_face = false;
    bool delete_face = false;
    bool carve_face = false;
    bool create_mesh = false;
    // The Edit menu.
    bool copy = false;
    bool paste = false;
    bool delete_selection = false;
    bool select_all = false;
};

// `clipboard_filled`: whether a copy waits to be pasted.
CommandStates command_states(const type_model& model, EditMode mode, bool clipboard_filled);

} // namespace facetor
