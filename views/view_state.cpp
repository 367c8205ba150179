#include "views/view_state.h"

namespace facetor {

void layout_views(ViewState& state, int area_width, int area_height)
{
    for (int v = 1; v <= 3; ++v) {
        type_view& view = state.views[v];
        view.pan_x = area_height / 4;
        view.pan_y = area_width / 4;
        view.pan_z = area_width / 4;
        view.zoom = 3200;
    }
}

void reset_view_angles(ViewState& state)
{
    for (int v = 1; v <= 3; ++v) {
        state.views[v].angle_x = 0;
        state.views[v].angle_y = 0;
        state.views[v].angle_z = 0;
    }
}

} // namespace facetor
