#include "views/navigation.h"

#include <algorithm>

#include "model/checked.h"

namespace facetor {

namespace {

// The two pan fields, or the two angle fields, that a view's arrows move.
struct StepPair {
    std::int32_t* first;
    std::int32_t* second;
};

// What each view moves: the offsets of the two model axes it shows, the
// angles of the two axes its keys turn about, and their steps.
struct ViewAxes {
    std::int32_t type_view::*pan[2];
    std::int32_t type_view::*pan_step[2];
    std::int32_t type_view::*angle[2];
    std::int32_t type_view::*angle_step[2];
};

const ViewAxes& view_axes(int view_number)
{
    using V = type_view;
    static const ViewAxes table[3] = {
        {{&V::pan_y, &V::pan_z},
         {&V::pan_step_y, &V::pan_step_z},
         {&V::angle_y, &V::angle_z},
         {&V::angle_step_y, &V::angle_step_z}},
        {{&V::pan_x, &V::pan_y},
         {&V::pan_step_x, &V::pan_step_y},
         {&V::angle_x, &V::angle_y},
         {&V::angle_step_x, &V::angle_step_y}},
        {{&V::pan_x, &V::pan_z},
         {&V::pan_step_x, &V::pan_step_z},
         {&V::angle_x, &V::angle_z},
         {&V::angle_step_x, &V::angle_step_z}},
    };
    return table[view_number == 1 ? 0 : view_number == 2 ? 1 : 2];
}

StepPair pan_steps(type_view& v, int view_number)
{
    const ViewAxes& a = view_axes(view_number);
    return {&(v.*a.pan_step[0]), &(v.*a.pan_step[1])};
}

StepPair angle_steps(type_view& v, int view_number)
{
    const ViewAxes& a = view_axes(view_number);
    return {&(v.*a.angle_step[0]), &(v.*a.angle_step[1])};
}

bool is_arrow(int key)
{
    return key >= vk_left && key <= vk_down;
}

// Every view pans 8 pixels against the arrow and turns 5 degrees with it;
// the first field of the pair takes Left/Right, the second Up/Down.
void arrow_steps(StepPair pair, int key, std::int32_t amount)
{
    switch (key) {
    case vk_left:
        *pair.first = amount;
        *pair.second = 0;
        break;
    case vk_up:
        *pair.first = 0;
        *pair.second = amount;
        break;
    case vk_right:
        *pair.first = -amount;
        *pair.second = 0;
        break;
    case vk_down:
        *pair.first = 0;
        *pair.second = -amount;
        break;
    default:
        break;
    }
}

// One motion step: each field of the pair grows by its step, checked.
void tick_pair(type_view& v, std::int32_t type_view::*const (&field)[2],
               std::int32_t type_view::*const (&step)[2])
{
    v.*field[0] = checked_add(v.*field[0], v.*step[0]);
    v.*field[1] = checked_add(v.*field[1], v.*step[1]);
}

} // namespace

void set_arrow_steps(type_view& view, int view_number, int key, bool shift)
{
    if (view_number < 1 || view_number > 3 || !is_arrow(key)) {
        return;
    }
    if (shift) {
        // Turning follows the arrow (Left turns by -5), and Up/Down sit on
        // the first field of the pair.
        const StepPair a = angle_steps(view, view_number);
        arrow_steps({a.second, a.first}, key, -5);
    } else {
        arrow_steps(pan_steps(view, view_number), key, 8);
    }
}

void zoom_in(type_view& view)
{
    view.zoom = checked_mul(view.zoom, 2);
}

void zoom_out(type_view& view)
{
    view.zoom = view.zoom / 2;
}

void step_selection(type_model& model, EditMode mode, bool forward)
{
    clear_selection(model); // the step leaves the active element alone selected
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    auto step = [forward](auto& index, int count) {
        // An index past the count (left there by a change of mesh) stands
        // for the empty slot, so the cycle goes on from there and never
        // climbs through the empty slots to the end of the array.
        const int i = std::min<int>(index, count);
        if (forward) {
            index = (i == count) ? 0 : i + 1;
        } else {
            index = (i == 0) ? count : i - 1;
        }
    };
    switch (mode) {
    case mesh_mode:
        step(model.sel_mesh, model.geosets[0].mesh_count);
        break;
    case face_mode:
        step(model.sel_face, mesh.face_count);
        break;
    case vertex_mode:
        step(model.sel_vertex, mesh.vertex_count);
        break;
    }
}

KeyDownResult navigation_key_down(NavigationState& nav, ViewState& views, type_model& model,
                                  EditMode mode, int key, bool shift)
{
    const int active = views.active_view;
    if (active == 4) {
        return {};
    }
    if (active == 0) {
        // A focused grid never sees key presses; typed characters still reach it.
        return {.consume = true, .start_timer = true};
    }
    type_view& view = views.views[active];
    if (shift) {
        nav.motion_kind = 1;
        if (is_arrow(key)) {
            set_arrow_steps(view, active, key, true);
            nav.key_held = 1;
        }
        return {.consume = true, .start_timer = true};
    }
    nav.motion_kind = 0;
    if (is_arrow(key)) {
        set_arrow_steps(view, active, key, false);
        nav.key_held = 1;
    } else if (key == vk_add || key == vk_subtract) {
        if (key == vk_add) {
            zoom_in(view);
        } else {
            zoom_out(view);
        }
        nav.key_held = 1;
        const StepPair pan = pan_steps(view, active);
        *pan.first = 0;
        *pan.second = 0;
    } else if (key == vk_n || key == vk_p) {
        step_selection(model, mode, key == vk_n);
        return {.selection_stepped = true};
    }
    return {.consume = true, .start_timer = true};
}

void navigation_key_up(NavigationState& nav)
{
    nav.key_held = 0;
}

bool motion_tick(const NavigationState& nav, ViewState& views)
{
    if (nav.key_held != 1) {
        return false;
    }
    const int active = views.active_view;
    if (active < 1 || active > 3) {
        return false;
    }
    type_view& v = views.views[active];
    const ViewAxes& axes = view_axes(active);
    if (nav.motion_kind == 1) {
        tick_pair(v, axes.angle, axes.angle_step);
    } else {
        tick_pair(v, axes.pan, axes.pan_step);
    }
    return true;
}

} // namespace facetor
