#include "views/view_state.h"

#include <gtest/gtest.h>

namespace facetor {
namespace {

TEST(ViewState, LayoutSetsOffsetsAndZoomAndKeepsStepsAndAngles)
{
    struct Case {
        int width, height;
        int pan_x, pan_yz;
    };
    const Case cases[] = {{800, 600, 150, 200}, {803, 7, 1, 200}, {3, 0, 0, 0}};
    for (const Case& c : cases) {
        ViewState state;
        for (int v = 1; v <= 3; ++v) {
            state.views[v].pan_step_x = 5 * v;
            state.views[v].angle_y = 30 * v;
            state.views[v].angle_step_z = -v;
        }
        layout_views(state, c.width, c.height);
        for (int v = 1; v <= 3; ++v) {
            const type_view& view = state.views[v];
            EXPECT_EQ(view.pan_x, c.pan_x) << c.width << "x" << c.height;
            EXPECT_EQ(view.pan_y, c.pan_yz);
            EXPECT_EQ(view.pan_z, c.pan_yz);
            EXPECT_EQ(view.zoom, 3200);
            EXPECT_EQ(view.pan_step_x, 5 * v);
            EXPECT_EQ(view.angle_y, 30 * v);
            EXPECT_EQ(view.angle_step_z, -v);
        }
    }
}

TEST(ViewState, ResetAnglesLeavesTheRest)
{
    ViewState state;
    for (int v = 1; v <= 3; ++v) {
        state.views[v] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    }
    reset_view_angles(state);
    for (int v = 1; v <= 3; ++v) {
        const type_view& view = state.views[v];
        EXPECT_EQ(view.angle_x, 0);
        EXPECT_EQ(view.angle_y, 0);
        EXPECT_EQ(view.angle_z, 0);
        EXPECT_EQ(view.zoom, 7);
        EXPECT_EQ(view.pan_z, 3);
        EXPECT_EQ(view.angle_step_x, 11);
    }
}

} // namespace
} // namespace facetor
