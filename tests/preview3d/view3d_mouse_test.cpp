#include "preview3d/view3d_mouse.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fake_platform.h"
#include "vector_near.h"

namespace facetor {
namespace {

using testing::FakePlatform;

void expect_close(Vector3 actual, Vector3 expected)
{
    test::expect_near(actual, expected, 1e-6f);
}

// Press at the first point, then move through the others.
View3DStep drag(View3DMouse& mouse, bool shift, std::vector<std::pair<int, int>> path)
{
    press_view3d(mouse, shift, path[0].first, path[0].second);
    View3DStep last;
    for (std::size_t i = 1; i < path.size(); ++i) {
        last = move_view3d(mouse, path[i].first, path[i].second);
    }
    return last;
}

TEST(View3DMouse, TurningNinetyPixelsGivesTheQuarterTurns)
{
    const struct {
        const char* name;
        std::vector<std::pair<int, int>> path;
        Vector3 direction, up;
    } cases[] = {
        // Model +z away from the viewer, model +y up.
        {"up in one step", {{50, 100}, {50, 10}}, {0, 0, 1}, {0, 1, 0}},
        {"up in three steps", {{50, 100}, {52, 70}, {50, 40}, {50, 10}}, {0, 0, 1}, {0, 1, 0}},
        // Model +z still up, model +y to the left, model +x toward the viewer.
        {"left", {{100, 50}, {10, 50}}, {0, 1, 0}, {-1, 0, 0}},
        {"down", {{50, 10}, {50, 100}}, {0, 0, -1}, {0, -1, 0}},
    };
    for (const auto& c : cases) {
        View3DMouse mouse;
        const View3DStep step = drag(mouse, false, c.path);
        ASSERT_EQ(step.action, View3DStep::orient) << c.name;
        expect_close(step.orientation.direction, c.direction);
        expect_close(step.orientation.up, c.up);
        EXPECT_FALSE(step.depth_caption.has_value());
    }
}

TEST(View3DMouse, OrientationOfZeroAnglesIsTheBuildOrientation)
{
    const Orientation o = model_frame_orientation(0, 0);
    EXPECT_EQ(o.direction, (Vector3{0, 1, 0}));
    EXPECT_EQ(o.up, (Vector3{0, 0, -1}));
}

TEST(View3DMouse, OnlyAnAngleLandingOnAFullTurnStartsAgain)
{
    const struct {
        const char* name;
        std::vector<int> ys; // press at the first, move through the rest
        int angle_x;
    } cases[] = {
        {"358 then 4 more", {400, 42, 38}, 362}, {"exactly 360", {400, 40}, 0},
        {"358 then 2 more", {400, 42, 40}, 0},   {"exactly -360", {0, 360}, 0},
        {"past -360", {0, 361}, -361},
    };
    for (const auto& c : cases) {
        View3DMouse mouse;
        press_view3d(mouse, false, 0, c.ys[0]);
        for (std::size_t i = 1; i < c.ys.size(); ++i) {
            move_view3d(mouse, 0, c.ys[i]);
        }
        EXPECT_EQ(mouse.view3d_angle_x, c.angle_x) << c.name;
    }
    // 362 and 2 show the same picture.
    const Orientation a = model_frame_orientation(362, 0);
    const Orientation b = model_frame_orientation(2, 0);
    expect_close(a.direction, b.direction);
    expect_close(a.up, b.up);
}

TEST(View3DMouse, ShiftPressMovesInDepthAndCaptionsTheDepth)
{
    View3DMouse mouse;
    const View3DStep step = drag(mouse, true, {{20, 30}, {25, 32}, {90, 35}});
    EXPECT_EQ(step.action, View3DStep::place);
    EXPECT_EQ(mouse.view3d_depth, -5);
    EXPECT_EQ(step.position, (Vector3{0, 0, -5}));
    EXPECT_EQ(step.depth_caption, "-5");
    EXPECT_EQ(mouse.view3d_angle_x, 0); // depth mode does not turn
    EXPECT_EQ(mouse.view3d_angle_y, 0);
}

TEST(View3DMouse, PressAndReleaseChangeOnlyTheMode)
{
    View3DMouse mouse;
    mouse.view3d_angle_x = 7;
    mouse.view3d_depth = -3;
    press_view3d(mouse, true, 4, 9);
    EXPECT_EQ(mouse.view3d_mode, view3d_depth_mode);
    EXPECT_EQ(mouse.view3d_last_x, 4);
    EXPECT_EQ(mouse.view3d_last_y, 9);
    EXPECT_EQ(mouse.view3d_last_depth_y, 9);
    release_view3d(mouse);
    EXPECT_EQ(mouse.view3d_mode, view3d_idle);
    EXPECT_EQ(move_view3d(mouse, 100, 100).action, View3DStep::none);
    EXPECT_EQ(mouse.view3d_angle_x, 7);
    EXPECT_EQ(mouse.view3d_depth, -3);
}

TEST(View3DMouse, AnglesAndDepthBeyondThirtyTwoBitsRaiseOverflow)
{
    const struct {
        const char* name;
        bool shift;
        std::int32_t View3DMouse::*field;
        std::int32_t start;
        int to_x, to_y; // from a press at (10, 10)
    } cases[] = {
        {"angle x up", false, &View3DMouse::view3d_angle_x, 2147483647, 10, 9},
        {"angle x down", false, &View3DMouse::view3d_angle_x, -2147483647 - 1, 10, 11},
        {"angle y left", false, &View3DMouse::view3d_angle_y, 2147483647, 9, 10},
        {"depth up", true, &View3DMouse::view3d_depth, 2147483647, 10, 9},
    };
    for (const auto& c : cases) {
        View3DMouse mouse;
        mouse.*c.field = c.start;
        press_view3d(mouse, c.shift, 10, 10);
        EXPECT_THROW(move_view3d(mouse, c.to_x, c.to_y), OverflowError) << c.name;
        EXPECT_EQ(mouse.*c.field, c.start) << c.name;
    }
}

TEST(View3DMouse, StepsMoveTheModelFrameOnceThereIsOne)
{
    FakePlatform platform;
    View3D view(platform);
    SceneFrames frames;
    View3DMouse mouse;

    // Before the first build: the angles change, no frame is touched.
    press_view3d(mouse, false, 0, 90);
    EXPECT_FALSE(apply_view3d_step(move_view3d(mouse, 0, 0), frames, view.root().get()));
    EXPECT_EQ(mouse.view3d_angle_x, 90);

    const auto model = make_model();
    build_scene(view, frames, *model);
    // A new build starts unturned, whatever the kept angles.
    EXPECT_EQ(frames.model_frame->world().axis_z, (Vector3{0, 1, 0}));

    // The next step jumps to the kept angles plus its own.
    press_view3d(mouse, false, 0, 0);
    EXPECT_TRUE(apply_view3d_step(move_view3d(mouse, 0, 0), frames, view.root().get()));
    expect_close(frames.model_frame->world().axis_z, {0, 0, 1});

    press_view3d(mouse, true, 0, 0);
    EXPECT_TRUE(apply_view3d_step(move_view3d(mouse, 0, 5), frames, view.root().get()));
    EXPECT_EQ(frames.model_frame->world().origin, (Vector3{0, 0, -5}));

    // With the view finalised the model frame is left alone.
    view.finalize();
    EXPECT_FALSE(apply_view3d_step(move_view3d(mouse, 0, 6), frames, view.root().get()));
    EXPECT_EQ(frames.model_frame->world().origin, (Vector3{0, 0, -5}));
}

} // namespace
} // namespace facetor
