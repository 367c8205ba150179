#include "preview3d/view3d.h"

#include <gtest/gtest.h>

#include "fake_platform.h"
#include "preview3d/scene_build.h"

namespace facetor {
namespace {

using Calls = std::vector<std::string>;
using testing::FakePlatform;

TEST(View3D, RenderAndRepaintDrawInTheirOrder)
{
    const struct {
        const char* name;
        void (View3D::*operation)();
        Calls calls;
    } cases[] = {
        {"render", &View3D::render, {"clear", "draw", "update", "flip"}},
        {"repaint", &View3D::render_without_flip, {"clear", "draw", "update"}},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        View3D view(platform);
        view.reinitialize();
        (view.*c.operation)();
        EXPECT_EQ(platform.log.calls, c.calls) << c.name;
    }
}

TEST(View3D, NothingIsDrawnWhileTheViewCannotDraw)
{
    const struct {
        const char* name;
        bool initialise, finalise, surface;
    } cases[] = {
        {"never initialised", false, false, true},
        {"finalised", true, true, true},
        {"surface lost for good", true, false, false},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.surface_present = c.surface;
        View3D view(platform);
        if (c.initialise) {
            view.reinitialize();
        }
        if (c.finalise) {
            view.finalize();
        }
        view.render();
        view.render_without_flip();
        EXPECT_TRUE(platform.log.calls.empty()) << c.name;
    }
}

TEST(View3D, ResizeKeepsTheSceneAndTheField)
{
    FakePlatform platform;
    View3D view(platform);
    int surface_events = 0;
    view.OnInitializeSurface = [&] { ++surface_events; };
    SceneFrames frames;
    const auto model = make_model();
    build_scene(view, frames, *model);
    const auto root = view.root();

    platform.width = 320;
    platform.height = 240;
    view.resize();

    EXPECT_EQ(platform.devices_made, 2);
    EXPECT_EQ(surface_events, 2);
    EXPECT_EQ(view.root(), root);
    EXPECT_EQ(frames.model_frame->parent(), root);
    EXPECT_EQ(view.device()->width(), 320);
    EXPECT_EQ(view.viewport()->height(), 240);
    EXPECT_EQ(view.viewport()->field(), 0.01f);
    EXPECT_EQ(view.viewport()->back(), 5000);
    EXPECT_TRUE(platform.log.calls.empty()); // the new surface waits for the next render
}

TEST(View3D, ResizeWithoutDeviceLeavesAViewThatCannotDraw)
{
    FakePlatform platform;
    View3D view(platform);
    view.reinitialize();
    platform.has_device = false;
    EXPECT_THROW(view.resize(), RuntimeError);
    EXPECT_FALSE(view.initialized());
    view.render();
    EXPECT_TRUE(platform.log.calls.empty());

    platform.has_device = true;
    view.resize();
    view.render();
    EXPECT_EQ(platform.log.calls.size(), 4u);
}

} // namespace
} // namespace facetor
