#include "views/pane_layout.h"

#include <gtest/gtest.h>

namespace facetor {
namespace {

// Where the panes go the window tests show; a view area too small for the
// inner panels' inset, which no window reaches there, leaves them empty.
TEST(PaneLayout, AnAreaTooSmallForTheInsetLeavesTheInnerPanelsEmpty)
{
    for (const auto& [width, height] : {std::pair{7, 5}, {0, 0}}) {
        const PaneLayout l = pane_layout(width, height);
        EXPECT_EQ(l.inner_width, 0) << width;
        EXPECT_EQ(l.inner_height, 0) << width;
    }
}

} // namespace
} // namespace facetor
