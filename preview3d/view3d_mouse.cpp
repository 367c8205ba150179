#include "preview3d/view3d_mouse.h"

#include <cmath>
#include <numbers>

#include "model/checked.h"

namespace facetor {

void press_view3d(View3DMouse& mouse, bool shift, std::int32_t x, std::int32_t y)
{
    mouse.view3d_mode = view3d_turning;
    mouse.view3d_last_x = x;
    mouse.view3d_last_y = y;
    mouse.view3d_last_depth_y = y;
    if (shift) {
        mouse.view3d_mode = view3d_depth_mode;
    }
}

void release_view3d(View3DMouse& mouse)
{
    mouse.view3d_mode = view3d_idle;
}

namespace {

// Only a full turn that lands exactly on it starts again from 0.
std::int32_t wrap_full_turn(std::int32_t angle)
{
    return angle == 360 || angle == -360 ? 0 : angle;
}

} // namespace

View3DStep move_view3d(View3DMouse& mouse, std::int32_t x, std::int32_t y)
{
    View3DStep step;
    if (mouse.view3d_mode == view3d_turning) {
        mouse.view3d_angle_x =
            checked_add(mouse.view3d_angle_x, checked_sub(mouse.view3d_last_y, y));
        mouse.view3d_angle_y =
            checked_add(mouse.view3d_angle_y, checked_sub(mouse.view3d_last_x, x));
        mouse.view3d_last_x = x;
        mouse.view3d_last_y = y;
        mouse.view3d_angle_x = wrap_full_turn(mouse.view3d_angle_x);
        mouse.view3d_angle_y = wrap_full_turn(mouse.view3d_angle_y);
        step.action = View3DStep::orient;
        step.orientation = model_frame_orientation(mouse.view3d_angle_x, mouse.view3d_angle_y);
    } else if (mouse.view3d_mode == view3d_depth_mode) {
        mouse.view3d_depth =
            checked_add(mouse.view3d_depth, checked_sub(mouse.view3d_last_depth_y, y));
        mouse.view3d_last_depth_y = y;
        step.action = View3DStep::place;
        step.position = {0, 0, static_cast<float>(mouse.view3d_depth)};
        step.depth_caption = std::to_string(mouse.view3d_depth);
    }
    return step;
}

Orientation model_frame_orientation(std::int32_t angle_x, std::int32_t angle_y)
{
    constexpr long double degree = std::numbers::pi_v<long double> / 180;
    const long double a = angle_x * degree;
    const long double b = angle_y * degree;
    const long double sa = std::sin(a), ca = std::cos(a), sb = std::sin(b), cb = std::cos(b);
    const auto f = [](long double v) { return static_cast<float>(v); };
    return {{f(sa * sb), f(ca), f(sa * cb)}, {f(-ca * sb), f(sa), f(-ca * cb)}};
}

bool apply_view3d_step(const View3DStep& step, const SceneFrames& frames, const Frame* root)
{
    if (step.action == View3DStep::none || !frames.model_frame || !root) {
        return false;
    }
    if (step.action == View3DStep::orient) {
        const Orientation& o = step.orientation;
        frames.model_frame->SetOrientation(root, o.direction.x, o.direction.y, o.direction.z,
                                           o.up.x, o.up.y, o.up.z);
    } else {
        frames.model_frame->SetPosition(root, step.position.x, step.position.y, step.position.z);
    }
    return true;
}

} // namespace facetor
