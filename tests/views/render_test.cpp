#include "views/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <utility>

#include "model/errors.h"
#include "views/test_models.h"

namespace facetor {
namespace {

using testing::add_mesh;
using testing::add_node;
using testing::add_placed_mesh;
using testing::Point3;
using Screen = std::pair<int, int>;

constexpr int k_width = 64, k_height = 48;
constexpr std::uint32_t k_old_picture = 0xFF123456;

// Panes of 64 x 48 holding an old picture, on a screen twice that size so
// that the cleared rectangle is exactly one pane; zoom 1 and no pan.
struct Scene {
    std::unique_ptr<type_model> model = make_model();
    ViewState state;
    ViewImages out;

    Scene()
    {
        model->sel_mesh = 32; // no mesh: nothing red unless a test selects one
        out.canvas.resize(k_width, k_height);
        for (int v = 1; v <= 3; ++v) {
            out.images[v].resize(k_width, k_height);
            for (int i = 0; i < k_width * k_height; ++i) {
                out.images[v].data()[i] = k_old_picture;
            }
            state.views[v].zoom = 1;
        }
        out.screen_width = 2 * k_width;
        out.screen_height = 2 * k_height;
    }

    void render(int view, EditMode mode = mesh_mode)
    {
        state.active_view = view;
        Render(*model, state, mode, out);
    }
    Screen at(int mesh, int vertex, int view) const
    {
        const type_vertex& v = model->mesh(mesh).vertices[vertex];
        return {v.screen_x[view], v.screen_y[view]};
    }
    std::uint32_t pixel(int view, int x, int y) const { return out.images[view].pixel(x, y); }
    int count(int view, std::uint32_t c) const
    {
        return static_cast<int>(
            std::count(out.images[view].data(), out.images[view].data() + k_width * k_height, c));
    }
    bool untouched(int view) const { return count(view, k_old_picture) == k_width * k_height; }
};

TEST(Render, ProjectsIntoTheActiveView)
{
    struct Case {
        int view, zoom, angle_x, angle_y, angle_z;
        Point3 vertex, placement;
        Screen expected; // pans are x 100, y 200, z 300
    };
    const Case cases[] = {
        {1, 3200, 0, 0, 0, {0.01, 0.02, 0.03}, {}, {200 + 64, 300 - 96}},
        {2, 3200, 0, 0, 0, {0.01, 0.02, 0.03}, {}, {100 - 32, 200 + 64}},
        {3, 3200, 0, 0, 0, {}, {0.01, 0.02, 0.03}, {100 - 32, 300 - 96}},
        {2, 1, 0, 0, 0, {0, 2.5, 0}, {}, {100, 202}}, // halves round to even
        {2, 1, 0, 0, 0, {0, 3.5, 0}, {}, {100, 204}},
        {3, 1, 0, 0, 0, {-2.5, 0, -2.5}, {}, {102, 302}},
        {1, 3200, 0, 0, 90, {1, 0, 0}, {}, {200 + 3200, 300}},
        {2, 3200, 90, 0, 0, {0, 0, 1}, {}, {100, 200 - 3200}},
        {1, 3200, 0, 90, 0, {1, 0, 0}, {}, {200, 300 + 3200}},
        {3, 10, 90, 90, 0, {0, 1, 0}, {}, {100 - 10, 300}}, // X before Y
        {2, 10, 0, 90, 90, {0, 0, 1}, {}, {100, 200 + 10}}, // Y before Z
    };
    for (const Case& c : cases) {
        Scene s;
        add_node(*s.model, add_mesh(*s.model, {c.vertex}, {}), c.placement);
        s.state.views[c.view] = {100, 200, 300, 0, 0, 0, c.zoom, c.angle_x, c.angle_y, c.angle_z};
        s.render(c.view);
        EXPECT_EQ(s.at(0, 0, c.view), c.expected) << "view " << c.view << " " << c.vertex.y;
    }
}

TEST(Render, MeshesNoNodeCarriesKeepTheirPositions)
{
    Scene s;
    type_model& model = *s.model;
    add_mesh(model, {{0, 1, -5}}, {});
    add_mesh(model, {{5, 5, 5}}, {});       // loose, drawn where it last was
    add_mesh(model, {{6, 6, 6}}, {});       // never projected: top left corner
    add_mesh(model, {{0, 9, 0}}, {{0}}, 1); // geoset 1: never drawn
    add_node(model, 0, {0, 3, 0});
    add_node(model, -1, {0, 5, 0});
    add_node(model, 0, {0, 7, 0}); // the later node wins
    model.mesh(1).vertices[0].screen_x[1] = 20;
    model.mesh(1).vertices[0].screen_y[1] = 30;
    s.render(1);
    EXPECT_EQ(s.at(0, 0, 1), Screen(8, 5));
    EXPECT_EQ(s.at(1, 0, 1), Screen(20, 30));
    EXPECT_EQ(s.at(2, 0, 1), Screen(0, 0));
    EXPECT_EQ(s.pixel(1, 20, 30), k_white);
    EXPECT_EQ(s.pixel(1, 1, 1), k_white);
    EXPECT_EQ(s.count(1, k_white), 9 + 9 + 4);
    EXPECT_EQ(model.geosets[1].meshes[0].vertices[0].screen_x[1], 0);
}

TEST(Render, ChangesOnlyTheActiveView)
{
    Scene s;
    add_placed_mesh(*s.model, {{0, 10, -10}, {0, 20, -10}}, {{0, 1}});
    s.model->mesh(0).vertices[0].screen_x[2] = 22;
    s.model->mesh(0).vertices[0].screen_y[3] = 33;
    s.render(1);
    EXPECT_EQ(s.pixel(1, 10, 10), k_white);
    EXPECT_EQ(s.pixel(1, 15, 10), k_silver);
    EXPECT_EQ(s.pixel(1, 40, 40), k_black);
    EXPECT_TRUE(s.untouched(2));
    EXPECT_TRUE(s.untouched(3));
    EXPECT_EQ(s.at(0, 0, 2), Screen(22, 0));
    EXPECT_EQ(s.at(0, 0, 3), Screen(0, 33));
}

TEST(Render, ColoursFollowTheEditModeAndSelection)
{
    // Mesh 0 a triangle, mesh 1 a square of two triangles (faces 0 and 1);
    // sampled at mesh 0's top edge and first vertex, mesh 1's top edge (face
    // 0), bottom edge (face 1), first vertex and last vertex (face 1 only).
    const Screen samples[] = {{9, 4}, {4, 4}, {35, 4}, {35, 14}, {30, 4}, {40, 14}};
    struct Case {
        EditMode mode;
        int sel_mesh, sel_face, sel_vertex;
        std::uint32_t expected[6];
        std::vector<int> selected{}; // a selection of several, the active one among them
    };
    const std::uint32_t S = k_silver, W = k_white, Y = k_yellow, R = k_red, D = k_dim_red;
    const Case cases[] = {
        {mesh_mode, 1, 0, 0, {S, W, R, R, R, R}},
        {mesh_mode, 0, 1, 3, {R, R, S, S, W, W}},
        {mesh_mode, 2, 0, 0, {S, W, S, S, W, W}}, // one past the last mesh
        {face_mode, 1, 1, 0, {S, W, S, R, W, R}},
        {face_mode, 2, 0, 0, {S, W, S, S, W, W}},
        {vertex_mode, 1, 0, 3, {S, Y, S, S, Y, R}},
        {vertex_mode, 0, 0, 0, {S, R, S, S, Y, Y}},
        {face_mode, 1, 1, 0, {S, W, D, R, D, R}, {0, 1}},
        {vertex_mode, 1, 0, 3, {S, Y, S, S, D, R}, {3, 0}},
    };
    for (const Case& c : cases) {
        Scene s;
        add_placed_mesh(*s.model, {{0, 4, -4}, {0, 14, -4}, {0, 4, -14}}, {{0, 1, 2}});
        add_placed_mesh(*s.model, {{0, 30, -4}, {0, 40, -4}, {0, 30, -14}, {0, 40, -14}},
                        {{0, 1, 2}, {1, 3, 2}});
        s.model->sel_mesh = c.sel_mesh;
        s.model->sel_face = c.sel_face;
        s.model->sel_vertex = c.sel_vertex;
        select_elements(*s.model, c.mode, c.selected,
                        c.mode == face_mode ? c.sel_face : c.sel_vertex);
        s.render(1, c.mode);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(s.pixel(1, samples[i].first, samples[i].second), c.expected[i])
                << "mode " << int{c.mode} << " mesh " << c.sel_mesh << " sample " << i;
        }
        if (c.sel_mesh == 2) {
            EXPECT_EQ(s.count(1, k_red), 0);
        }
    }
}

// One corner: a line to itself, nothing. Two corners: the segment both ways;
// from (10,10) to (16,13) the half at x 13 rounds towards the start, so both
// rows show there. The rest lies under the vertex squares.
TEST(Render, FacesWithOneOrTwoCorners)
{
    for (const std::vector<int>& corners : {std::vector<int>{0}, std::vector<int>{0, 1}}) {
        Scene s;
        add_placed_mesh(*s.model, {{0, 10, -10}, {0, 16, -13}}, {corners});
        s.render(1, face_mode);
        s.model->sel_face = 1; // nothing selected in the second picture
        s.render(1, face_mode);
        EXPECT_EQ(s.count(1, k_white), 18);
        EXPECT_EQ(s.count(1, k_silver), corners.size() == 1 ? 0 : 4);
        if (corners.size() == 2) {
            EXPECT_EQ(s.pixel(1, 13, 11), k_silver);
            EXPECT_EQ(s.pixel(1, 13, 12), k_silver);
        }
    }
}

TEST(Render, FailuresKeepTheImageAndThePositionsWrittenBefore)
{
    struct Case {
        int zoom, pan_y, pan_z;
        Point3 bad;
        bool float_error;
        Screen expected_bad; // -7 where nothing was written
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {INT_MAX, 0, 0, {0, 1e10, 0}, true, {-7, -7}},
        {1, 0, 0, {0, 0, nan}, true, {-7, -7}}, // NaN spreads to y by the turn
        {1, INT_MAX, 0, {0, 1, 0}, false, {-7, -7}},
        {1, 0, INT_MIN, {0, 0, 1}, false, {0, -7}},
    };
    for (const Case& c : cases) {
        Scene s;
        add_placed_mesh(*s.model, {{}, c.bad, {}}, {});
        for (int j = 0; j < 3; ++j) {
            s.model->mesh(0).vertices[j].screen_x[1] = -7;
            s.model->mesh(0).vertices[j].screen_y[1] = -7;
        }
        s.state.views[1].zoom = c.zoom;
        s.state.views[1].pan_y = c.pan_y;
        s.state.views[1].pan_z = c.pan_z;
        if (c.float_error) {
            EXPECT_THROW(s.render(1), InvalidFloatError);
        } else {
            EXPECT_THROW(s.render(1), OverflowError);
        }
        EXPECT_TRUE(s.untouched(1));
        EXPECT_NE(s.at(0, 0, 1), Screen(-7, -7));
        EXPECT_EQ(s.at(0, 1, 1), c.expected_bad);
        EXPECT_EQ(s.at(0, 2, 1), Screen(-7, -7));
    }
    // A square whose far corner does not fit: all projected, nothing shown.
    Scene s;
    add_placed_mesh(*s.model, {{}}, {});
    s.state.views[1].pan_y = INT_MAX - 1;
    EXPECT_THROW(s.render(1), OverflowError);
    EXPECT_EQ(s.at(0, 0, 1), Screen(INT_MAX - 1, 0));
    EXPECT_TRUE(s.untouched(1));
}

TEST(Render, ViewsWithoutPositionsFailAtTheFirstThingToDraw)
{
    struct Case {
        int carried_vertices, loose_vertices, corners;
        EditMode mode;
        bool throws;
    };
    const Case cases[] = {
        {0, 0, 0, face_mode, false}, {1, 0, 0, mesh_mode, true},   {0, 1, 0, mesh_mode, true},
        {0, 0, 1, mesh_mode, true},  {0, 0, 0, vertex_mode, true}, // the selected vertex
    };
    for (int view : {0, 4}) {
        for (const Case& c : cases) {
            Scene s;
            add_node(*s.model, add_mesh(*s.model, std::vector<Point3>(c.carried_vertices), {}));
            add_mesh(*s.model, std::vector<Point3>(c.loose_vertices),
                     std::vector<std::vector<int>>(c.corners, {0}));
            s.out.canvas.set_brush(k_red);
            s.out.canvas.fill_rect(0, 0, k_width, k_height);
            if (c.throws) {
                EXPECT_THROW(s.render(view, c.mode), RangeError);
            } else {
                EXPECT_NO_THROW(s.render(view, c.mode));
            }
            EXPECT_EQ(std::count(s.out.canvas.image().data(),
                                 s.out.canvas.image().data() + k_width * k_height, k_black),
                      k_width * k_height);
            for (int v = 1; v <= 3; ++v) {
                EXPECT_TRUE(s.untouched(v));
                EXPECT_EQ(s.at(0, 0, v), Screen(0, 0));
            }
        }
    }
}

TEST(RedrawAllViews, DrawsViewsOneToThreeAndRestoresTheActiveView)
{
    for (int active : {0, 2, 4}) {
        Scene s;
        add_placed_mesh(*s.model, {{1, 2, 3}}, {});
        for (int v = 1; v <= 3; ++v) {
            s.state.views[v] = {10 * v, 10 * v, 10 * v + 5, 0, 0, 0, 1};
        }
        s.state.active_view = active;
        redraw_all_views(*s.model, s.state, mesh_mode, s.out);
        EXPECT_EQ(int{s.state.active_view}, active);
        EXPECT_EQ(s.at(0, 0, 1), Screen(12, 12));
        EXPECT_EQ(s.at(0, 0, 2), Screen(19, 22));
        EXPECT_EQ(s.at(0, 0, 3), Screen(29, 32));
        for (int v = 1; v <= 3; ++v) {
            EXPECT_EQ(s.count(v, k_white), 9);
        }
    }
    // Also when a Render fails: view 2 overflows, view 3 is never reached.
    Scene s;
    add_placed_mesh(*s.model, {{0, 0, 1}}, {});
    s.state.views[2] = {INT_MIN, 0, 0, 0, 0, 0, INT_MAX};
    s.state.active_view = 4;
    EXPECT_THROW(redraw_all_views(*s.model, s.state, mesh_mode, s.out), OverflowError);
    EXPECT_EQ(int{s.state.active_view}, 4);
    EXPECT_FALSE(s.untouched(1));
    EXPECT_TRUE(s.untouched(2));
    EXPECT_TRUE(s.untouched(3));
}

} // namespace
} // namespace facetor
