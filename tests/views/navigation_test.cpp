#include "views/navigation.h"

#include <gtest/gtest.h>

#include <cstring>

namespace facetor {
namespace {

class NavigationTest : public ::testing::Test {
  protected:
    std::unique_ptr<type_model> model = make_model();
    ViewState views;
    NavigationState nav;

    NavigationTest() { layout_views(views, 800, 600); }

    KeyDownResult press(int key, bool shift = false)
    {
        return navigation_key_down(nav, views, *model, mesh_mode, key, shift);
    }

    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            motion_tick(nav, views);
        }
    }
};

TEST_F(NavigationTest, ArrowStepTable)
{
    struct Steps {
        int pan_x, pan_y, pan_z, angle_x, angle_y, angle_z;
    };
    struct Case {
        int view;
        int key;
        bool shift;
        Steps expected;
    };
    constexpr int o = 99; // a field the key must leave alone
    const Case cases[] = {
        {1, vk_left, false, {o, 8, 0, o, o, o}},   {1, vk_up, false, {o, 0, 8, o, o, o}},
        {1, vk_right, false, {o, -8, 0, o, o, o}}, {1, vk_down, false, {o, 0, -8, o, o, o}},
        {2, vk_left, false, {8, 0, o, o, o, o}},   {2, vk_up, false, {0, 8, o, o, o, o}},
        {2, vk_right, false, {-8, 0, o, o, o, o}}, {2, vk_down, false, {0, -8, o, o, o, o}},
        {3, vk_left, false, {8, o, 0, o, o, o}},   {3, vk_up, false, {0, o, 8, o, o, o}},
        {3, vk_right, false, {-8, o, 0, o, o, o}}, {3, vk_down, false, {0, o, -8, o, o, o}},
        {1, vk_left, true, {o, o, o, o, 0, -5}},   {1, vk_up, true, {o, o, o, o, -5, 0}},
        {1, vk_right, true, {o, o, o, o, 0, 5}},   {1, vk_down, true, {o, o, o, o, 5, 0}},
        {2, vk_left, true, {o, o, o, 0, -5, o}},   {2, vk_up, true, {o, o, o, -5, 0, o}},
        {2, vk_right, true, {o, o, o, 0, 5, o}},   {2, vk_down, true, {o, o, o, 5, 0, o}},
        {3, vk_left, true, {o, o, o, 0, o, -5}},   {3, vk_up, true, {o, o, o, -5, o, 0}},
        {3, vk_right, true, {o, o, o, 0, o, 5}},   {3, vk_down, true, {o, o, o, 5, o, 0}},
    };
    for (const Case& c : cases) {
        views.active_view = c.view;
        type_view& v = views.views[c.view];
        v.pan_step_x = v.pan_step_y = v.pan_step_z = o;
        v.angle_step_x = v.angle_step_y = v.angle_step_z = o;
        nav = {};
        const KeyDownResult r = press(c.key, c.shift);
        EXPECT_TRUE(r.consume && r.start_timer && !r.selection_stepped);
        EXPECT_EQ(nav.key_held, 1);
        EXPECT_EQ(nav.motion_kind, c.shift ? 1 : 0);
        const Steps got{v.pan_step_x,   v.pan_step_y,   v.pan_step_z,
                        v.angle_step_x, v.angle_step_y, v.angle_step_z};
        EXPECT_EQ(std::memcmp(&got, &c.expected, sizeof got), 0)
            << "view " << c.view << " key " << c.key << " shift " << c.shift << ": " << got.pan_x
            << ' ' << got.pan_y << ' ' << got.pan_z << ' ' << got.angle_x << ' ' << got.angle_y
            << ' ' << got.angle_z;
    }
}

TEST_F(NavigationTest, KeyResultsByActiveView)
{
    struct Case {
        int active;
        int key;
        bool shift;
        KeyDownResult expected;
        int key_held;
    };
    const Case cases[] = {
        {4, vk_left, false, {false, false, false}, 0}, // 3D view: nothing
        {0, vk_left, false, {true, true, false}, 0},   // grid focused: swallowed
        {0, vk_n, false, {true, true, false}, 0},
        {2, 'A', false, {true, true, false}, 0}, // no action, still consumed
        {2, 187, false, {true, true, false}, 0}, // main keyboard plus is not zoom
        {2, vk_n, false, {false, false, true}, 0},
        {2, vk_p, false, {false, false, true}, 0},
        {2, vk_n, true, {true, true, false}, 0},   // Shift+N steps nothing
        {2, vk_add, true, {true, true, false}, 0}, // Shift+keypad does nothing
        {2, 16, true, {true, true, false}, 0},     // the Shift key itself
        {2, vk_add, false, {true, true, false}, 1},
    };
    for (const Case& c : cases) {
        views.active_view = c.active;
        nav = {};
        model->sel_mesh = 0;
        const int zoom = views.views[2].zoom;
        const KeyDownResult r = press(c.key, c.shift);
        EXPECT_EQ(r.consume, c.expected.consume) << c.active << '/' << c.key;
        EXPECT_EQ(r.start_timer, c.expected.start_timer) << c.active << '/' << c.key;
        EXPECT_EQ(r.selection_stepped, c.expected.selection_stepped) << c.active << '/' << c.key;
        EXPECT_EQ(nav.key_held, c.key_held) << c.active << '/' << c.key;
        if (c.shift) {
            EXPECT_EQ(model->sel_mesh, 0);
            EXPECT_EQ(views.views[2].zoom, zoom);
        }
    }
}

TEST_F(NavigationTest, KeypadZoom)
{
    views.active_view = 2;
    views.views[2].pan_step_x = 8;
    views.views[2].pan_step_y = 8;
    for (int i = 0; i < 3; ++i) {
        press(vk_add);
    }
    EXPECT_EQ(views.views[2].zoom, 25600);
    EXPECT_EQ(views.views[2].pan_step_x, 0);
    EXPECT_EQ(views.views[2].pan_step_y, 0);
    EXPECT_EQ(views.views[1].zoom, 3200); // only the active view

    views.views[2].zoom = 3;
    press(vk_subtract);
    EXPECT_EQ(views.views[2].zoom, 1);
    press(vk_subtract);
    EXPECT_EQ(views.views[2].zoom, 0);
    press(vk_add);
    EXPECT_EQ(views.views[2].zoom, 0);
}

TEST_F(NavigationTest, TwentiethDoublingOverflows)
{
    views.active_view = 3;
    for (int i = 0; i < 19; ++i) {
        press(vk_add);
    }
    EXPECT_EQ(views.views[3].zoom, 1677721600);
    navigation_key_up(nav);
    views.views[3].pan_step_x = 8;
    EXPECT_THROW(press(vk_add), OverflowError);
    EXPECT_EQ(views.views[3].zoom, 1677721600);
    EXPECT_EQ(nav.key_held, 0);
    EXPECT_EQ(views.views[3].pan_step_x, 8);
}

TEST_F(NavigationTest, SelectionCycles)
{
    model->geosets[0].mesh_count = 3;
    model->mesh(1).face_count = 2;
    model->mesh(1).vertex_count = 1;
    struct Case {
        EditMode mode;
        int key;
        std::vector<int> sequence;
    };
    const Case cases[] = {
        {mesh_mode, vk_n, {0, 1, 2, 3, 0}}, {mesh_mode, vk_p, {0, 3, 2, 1, 0}},
        {face_mode, vk_n, {0, 1, 2, 0}}, // counts of mesh 1
        {face_mode, vk_p, {0, 2, 1, 0}},    {vertex_mode, vk_n, {0, 1, 0}},
        {vertex_mode, vk_p, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        views.active_view = 1;
        model->sel_mesh = c.mode == mesh_mode ? 0 : 1;
        model->sel_face = 0;
        model->sel_vertex = 0;
        auto index = [&] {
            switch (c.mode) {
            case mesh_mode:
                return static_cast<int>(model->sel_mesh);
            case face_mode:
                return static_cast<int>(model->sel_face);
            default:
                return static_cast<int>(model->sel_vertex);
            }
        };
        std::vector<int> got{index()};
        for (std::size_t i = 1; i < c.sequence.size(); ++i) {
            navigation_key_down(nav, views, *model, c.mode, c.key, false);
            got.push_back(index());
        }
        EXPECT_EQ(got, c.sequence) << "mode " << int(c.mode) << " key " << c.key;
    }
}

TEST_F(NavigationTest, IndexAboveTheCountStepsAsTheCount)
{
    // Left there by a change of mesh: N continues at 0, P at count - 1.
    model->mesh(0).face_count = 3;
    const struct {
        int start;
        bool forward;
        int next;
    } cases[] = {{40, true, 0}, {40, false, 2}, {500, true, 0}, {500, false, 2}, {4, false, 2}};
    for (const auto& c : cases) {
        model->sel_face = c.start;
        step_selection(*model, face_mode, c.forward);
        EXPECT_EQ(model->sel_face, c.next) << c.start << (c.forward ? " N" : " P");
    }
}

TEST_F(NavigationTest, HeldArrowMovesEveryTickUntilRelease)
{
    views.active_view = 2;
    const int pan_x = views.views[2].pan_x;
    press(vk_left);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(motion_tick(nav, views));
    }
    EXPECT_EQ(views.views[2].pan_x, pan_x + 80);
    navigation_key_up(nav);
    EXPECT_FALSE(motion_tick(nav, views));
    EXPECT_EQ(views.views[2].pan_x, pan_x + 80);
}

TEST_F(NavigationTest, ShiftRightTurnsViewOne)
{
    views.active_view = 1;
    press(vk_right, true);
    ticks(18);
    EXPECT_EQ(views.views[1].angle_z, 90);
    EXPECT_EQ(views.views[1].angle_y, 0);
    ticks(54);
    EXPECT_EQ(views.views[1].angle_z, 360); // angles are not wrapped
}

TEST_F(NavigationTest, TickOverflowRaises)
{
    views.active_view = 2;
    views.views[2].pan_x = 2147483640;
    press(vk_left);
    EXPECT_THROW(motion_tick(nav, views), OverflowError);
    EXPECT_EQ(views.views[2].pan_x, 2147483640);
}

} // namespace
} // namespace facetor
