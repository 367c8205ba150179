#pragma once
// Per-view position, scale and rotation of the three orthographic views.
#include <array>
#include <cstdint>

#include "model/ranged.h"

namespace facetor {

struct type_view {
    std::int32_t pan_x = 0, pan_y = 0, pan_z = 0;
    std::int32_t pan_step_x = 0, pan_step_y = 0, pan_step_z = 0;
    std::int32_t zoom = 0;
    std::int32_t angle_x = 0, angle_y = 0, angle_z = 0;
    std::int32_t angle_step_x = 0, angle_step_y = 0, angle_step_z = 0;
};

// 0 = a property grid has the focus, 1..3 = orthographic view, 4 = 3D view.
using active_view_t = ranged<std::uint8_t, 0, 4>;

struct ViewState {
    std::array<type_view, 4> views{}; // indexed by view number 1..3; slot 0 unused
    active_view_t active_view = 2;
};

// The layout step: offsets from the view area's size, zoom 3200, in all three
// views; steps and angles stay.
void layout_views(ViewState& state, int area_width, int area_height);

// After a successful load: the three angles of all three views become 0.
void reset_view_angles(ViewState& state);

} // namespace facetor
