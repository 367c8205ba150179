#include "views/navigation.h"

#include "model/checked.h"

namespace facetor {

namespace {

// The two pan fields, or the two angle fields, that a view's arrows move.
struct StepPair {
    std::int32_t* first;
    std::int32_t* second;
};

StepPair pan_steps(type_view& v, int view_number)
{
    switch (view_number) {
    case 1:
        return {&v.pan_step_y, &v.pan_step_z};
    case 2:
        return {&v.pan_step_x, &v.pan_step_y};
    default:
        return {&v.pan_step_x, &v.pan_step_z};
    }
}

StepPair angle_steps(type_view& v, int view_number)
{
    switch (view_number) {
    case 1:
        return {&v.angle_step_y, &v.angle_step_z};
    case 2:
        return {&v.angle_step_x, &v.angle_step_y};
    default:
        return {&v.angle_step_x, &v.angle_step_z};
    }
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

void tick_pair(std::int32_t& a, std::int32_t step_a, std::int32_t& b, std::int32_t step_b)
{
    a = checked_add(a, step_a);
    b = checked_add(b, step_b);
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
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    auto step = [forward](auto& index, int count) {
        const int i = index;
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
    if (nav.motion_kind == 1) {
        switch (active) {
        case 1:
            tick_pair(v.angle_y, v.angle_step_y, v.angle_z, v.angle_step_z);
            break;
        case 2:
            tick_pair(v.angle_x, v.angle_step_x, v.angle_y, v.angle_step_y);
            break;
        default:
            tick_pair(v.angle_x, v.angle_step_x, v.angle_z, v.angle_step_z);
            break;
        }
    } else {
        switch (active) {
        case 1:
            tick_pair(v.pan_y, v.pan_step_y, v.pan_z, v.pan_step_z);
            break;
        case 2:
            tick_pair(v.pan_x, v.pan_step_x, v.pan_y, v.pan_step_y);
            break;
        default:
            tick_pair(v.pan_x, v.pan_step_x, v.pan_z, v.pan_step_z);
            break;
        }
    }
    return true;
}

} // namespace facetor
