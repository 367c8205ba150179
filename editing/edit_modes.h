#pragma once
// The three edit modes and what switching to each one does to the side panel,
// the Mode menu and the toolbar. The window runs the steps; the table says
// which widgets they touch.
#include <array>
#include <string_view>

#include "model/model.h"

namespace facetor {

// The three stacked pages of the side panel, one per edit mode.
enum class Page : std::uint8_t { mesh_page, face_page, vertex_page };

// The page's objectName.
std::string_view page_name(Page page);

// The page that shows the given mode.
Page page_of(EditMode mode);

struct ModeSwitch {
    EditMode mode;                 // the edit mode it sets
    std::array<Page, 2> sent_back; // lowered in this order...
    Page brought_front;            // ...then this one is raised
    std::string_view menu_item;    // Mode menu caption to check (radio group)
    std::string_view menu_name;    // ...its objectName
    std::string_view shortcut;     // ...its shortcut, in the portable text form
    std::string_view button;       // toolbar toggle button to press (one group)
};

// The row of the switch table for `mode`. A value outside the three modes
// cannot be switched to and raises the range check error.
const ModeSwitch& mode_switch(EditMode mode);

// All three rows, Mesh, Face, Vertex, for building menus and toolbars. The
// Mode menu lists them the other way round, Vertex first.
const std::array<ModeSwitch, 3>& mode_switches();

} // namespace facetor
