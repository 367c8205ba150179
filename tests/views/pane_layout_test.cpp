#include "views/pane_layout.h"

#include <gtest/gtest.h>

namespace facetor {
namespace {

TEST(PaneLayout, FourEqualQuartersWithThe3DViewBottomRight)
{
    const struct {
        int width, height;
        int pane_w, pane_h, inner_w, inner_h;
    } cases[] = {
        {800, 600, 400, 300, 397, 297},
        {505, 401, 252, 200, 249, 197}, // odd: the right column starts at 252
        {7, 5, 3, 2, 0, 0},             // too small for the inner panels' inset
        {0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const PaneLayout l = pane_layout(c.width, c.height);
        const int w = c.pane_w, h = c.pane_h;
        EXPECT_EQ(l.docks[2], (PaneRect{0, 0, w, h})) << c.width;
        EXPECT_EQ(l.docks[3], (PaneRect{w, 0, w, h})) << c.width;
        EXPECT_EQ(l.docks[1], (PaneRect{0, h, w, h})) << c.width;
        EXPECT_EQ(l.docks[4], (PaneRect{w, h, w, h})) << c.width;
        EXPECT_EQ(l.inner_width, c.inner_w) << c.width;
        EXPECT_EQ(l.inner_height, c.inner_h) << c.width;
        EXPECT_EQ(l.canvas_width, w) << c.width;
        EXPECT_EQ(l.canvas_height, h) << c.width;
    }
}

} // namespace
} // namespace facetor
