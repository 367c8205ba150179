#pragma once
// Turning and moving the model in the 3D view with the mouse. The state is
// kept for the whole run: a new load neither resets the angles nor the depth.
#include <cstdint>
#include <optional>
#include <string>

#include "preview3d/scene.h"
#include "preview3d/scene_build.h"

namespace facetor {

enum View3DMode : std::uint8_t { view3d_idle = 0, view3d_turning = 1, view3d_depth_mode = 2 };

struct View3DMouse {
    std::uint8_t view3d_mode = view3d_idle;
    std::int32_t view3d_last_x = 0;
    std::int32_t view3d_last_y = 0;
    std::int32_t view3d_last_depth_y = 0;
    std::int32_t view3d_angle_x = 0; // whole degrees, about the screen's horizontal axis
    std::int32_t view3d_angle_y = 0; // whole degrees, about the screen's vertical axis
    std::int32_t view3d_depth = 0;   // scene units along the viewing axis
};

// The model frame's z axis (direction) and y axis (up), in the root frame.
struct Orientation {
    Vector3 direction;
    Vector3 up;
};

// What one pointer move asks of the scene.
struct View3DStep {
    enum Action : std::uint8_t { none, orient, place } action = none;
    Orientation orientation{};                // for orient
    Vector3 position{};                       // for place
    std::optional<std::string> depth_caption; // the new text of the mesh strip
};

// Press at (x, y): turning, or depth with Shift held. Nothing is drawn.
void press_view3d(View3DMouse& mouse, bool shift, std::int32_t x, std::int32_t y);
// Release: idle. Nothing is drawn.
void release_view3d(View3DMouse& mouse);
// Pointer at (x, y): one pixel is one degree when turning, one unit in depth
// mode. Throws OverflowError should an angle or the depth leave 32 bits.
View3DStep move_view3d(View3DMouse& mouse, std::int32_t x, std::int32_t y);

// The initial model-frame orientation turned about the root's x axis by
// angle_x and then about its y axis by angle_y (degrees).
Orientation model_frame_orientation(std::int32_t angle_x, std::int32_t angle_y);

// Applies the step to the model frame. Before the first build (no model
// frame) or while the view has no root frame, nothing is touched. Returns
// whether the scene is to be rendered.
bool apply_view3d_step(const View3DStep& step, const SceneFrames& frames, const Frame* root);

} // namespace facetor
