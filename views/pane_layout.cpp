#include "views/pane_layout.h"

#include <algorithm>

namespace facetor {

PaneLayout pane_layout(int area_width, int area_height)
{
    const int w = area_width / 2;
    const int h = area_height / 2;
    PaneLayout layout;
    layout.docks[2] = {0, 0, w, h};
    layout.docks[1] = {0, h, w, h};
    layout.docks[3] = {w, 0, w, h};
    layout.docks[4] = {w, h, w, h};
    layout.inner_width = std::max(0, w - 3);
    layout.inner_height = std::max(0, h - 3);
    layout.canvas_width = w;
    layout.canvas_height = h;
    return layout;
}

} // namespace facetor
