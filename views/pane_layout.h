#pragma once
// Where the four view panes of the view area go: four equal quarters, the
// 3D view bottom right, each pane's inner panel 3 pixels short of it so
// that the pane shows as a frame along its top and left.
#include <array>

namespace facetor {

struct PaneRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend bool operator==(const PaneRect&, const PaneRect&) = default;
};

struct PaneLayout {
    std::array<PaneRect, 5> docks{};         // Dock1..Dock4 at [1]..[4]: 2 top left, 3 top right,
                                             // 1 bottom left, 4 bottom right
    int inner_width = 0, inner_height = 0;   // Panel1..Panel4, never below 0
    int canvas_width = 0, canvas_height = 0; // V_Canvas: one pane's size
};

// The layout step's geometry for a view area of the given size; halves
// truncate, so an odd size leaves the last pixel column or row bare.
PaneLayout pane_layout(int area_width, int area_height);

} // namespace facetor
