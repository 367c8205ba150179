#include "views/render.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <limits>
#include <ostream>
#include <utility>
#include <vector>

#include "model/errors.h"
#include "views/test_models.h"

namespace facetor {
namespace {

using testing::add_mesh;
using testing::add_node;
using testing::add_placed_mesh;
using testing::Point3;

constexpr int k_width = 64, k_height = 48;
constexpr std::uint32_t k_old_picture = 0xFF123456;

struct Screen {
    int x, y;
    bool operator==(const Screen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Screen& s)
{
    return os << "(" << s.x << ", " << s.y << ")";
}

Screen position(const type_model& model, int mesh, int vertex, int view)
{
    const type_vertex& v = model.mesh(mesh).vertices[vertex];
    return {v.screen_x[view], v.screen_y[view]};
}

// Images of one pane, the old pictures a distinct colour, and a screen twice
// the pane so that the cleared rectangle covers it exactly.
struct Fixture {
    std::unique_ptr<type_model> model = make_model();
    ViewState state;
    ViewImages out;

    Fixture()
    {
        model->sel_mesh = 32; // no mesh: nothing red unless a test selects one
        out.canvas.resize(k_width, k_height);
        for (int v = 1; v <= 3; ++v) {
            out.images[v].resize(k_width, k_height);
            fill(out.images[v], k_old_picture);
            state.views[v].zoom = 1;
        }
        out.screen_width = 2 * k_width;
        out.screen_height = 2 * k_height;
    }

    static void fill(PixelImage& image, std::uint32_t c)
    {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                image.set_pixel(x, y, c);
            }
        }
    }

    void render(int view, EditMode mode = mesh_mode)
    {
        state.active_view = view;
        Render(*model, state, mode, out);
    }

    std::uint32_t at(int view, int x, int y) const { return out.images[view].pixel(x, y); }

    std::size_t count(int view, std::uint32_t c) const
    {
        std::size_t n = 0;
        const PixelImage& image = out.images[view];
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                n += image.pixel(x, y) == c;
            }
        }
        return n;
    }

    bool untouched(int view) const
    {
        return count(view, k_old_picture) == std::size_t{k_width} * k_height;
    }
};

TEST(Render, ProjectsIntoEachView)
{
    struct Case {
        const char* name;
        int view;
        int zoom;
        int angle_x, angle_y, angle_z;
        Point3 vertex;
        Point3 placement;
        Screen expected; // pans are x 100, y 200, z 300
    };
    const Case cases[] = {
        {"view 1 after a load", 1, 3200, 0, 0, 0, {0.01, 0.02, 0.03}, {}, {200 + 64, 300 - 96}},
        {"view 2 after a load", 2, 3200, 0, 0, 0, {0.01, 0.02, 0.03}, {}, {100 - 32, 200 + 64}},
        {"view 3 after a load", 3, 3200, 0, 0, 0, {0.01, 0.02, 0.03}, {}, {100 - 32, 300 - 96}},
        {"placement added", 3, 3200, 0, 0, 0, {}, {0.01, 0.02, 0.03}, {100 - 32, 300 - 96}},
        {"2.5 rounds to 2", 2, 1, 0, 0, 0, {0, 2.5, 0}, {}, {100, 202}},
        {"3.5 rounds to 4", 2, 1, 0, 0, 0, {0, 3.5, 0}, {}, {100, 204}},
        {"-2.5 rounds to -2", 2, 1, 0, 0, 0, {0, -2.5, 0}, {}, {100, 198}},
        {"-2.5 rounds to -2, subtracted", 3, 1, 0, 0, 0, {-2.5, 0, 0}, {}, {102, 300}},
        {"turned 90 about Z", 1, 3200, 0, 0, 90, {1, 0, 0}, {}, {200 + 3200, 300}},
        {"turned 90 about X", 2, 3200, 90, 0, 0, {0, 0, 1}, {}, {100, 200 - 3200}},
        {"turned 90 about Y", 3, 3200, 0, 90, 0, {0, 0, 1}, {}, {100 - 3200, 300}},
        {"X before Y", 3, 10, 90, 90, 0, {0, 1, 0}, {}, {100 - 10, 300}},
        {"Y before Z", 2, 10, 0, 90, 90, {0, 0, 1}, {}, {100, 200 + 10}},
    };
    for (const Case& c : cases) {
        Fixture f;
        const int m = add_mesh(*f.model, {c.vertex}, {});
        add_node(*f.model, m, c.placement);
        type_view& view = f.state.views[c.view];
        view.pan_x = 100;
        view.pan_y = 200;
        view.pan_z = 300;
        view.zoom = c.zoom;
        view.angle_x = c.angle_x;
        view.angle_y = c.angle_y;
        view.angle_z = c.angle_z;
        f.render(c.view);
        EXPECT_EQ(position(*f.model, m, 0, c.view), c.expected) << c.name;
    }
}

TEST(Render, ProjectsOnlyMeshesCarriedByNodes)
{
    Fixture f;
    type_model& model = *f.model;
    const int carried = add_mesh(model, {{1, 0, 0}}, {});
    const int twice = add_mesh(model, {{0, 0, 0}}, {});
    const int loose = add_mesh(model, {{5, 5, 5}}, {});
    const int never = add_mesh(model, {{6, 6, 6}}, {});
    add_node(model, carried);
    add_node(model, twice, {0, 3, 0});
    add_node(model, -1, {0, 9, 0});
    add_node(model, twice, {0, 7, 0}); // the later node wins
    model.mesh(loose).vertices[0].screen_x[1] = 20;
    model.mesh(loose).vertices[0].screen_y[1] = 30;

    f.render(1);
    EXPECT_EQ(position(model, carried, 0, 1), (Screen{0, 0}));
    EXPECT_EQ(position(model, twice, 0, 1), (Screen{7, 0}));
    EXPECT_EQ(position(model, loose, 0, 1), (Screen{20, 30}));
    EXPECT_EQ(position(model, never, 0, 1), (Screen{0, 0}));
    // Both are drawn where they last were: the loose one at its old place,
    // the never projected one in the top left corner.
    EXPECT_EQ(f.at(1, 20, 30), k_white);
    EXPECT_EQ(f.at(1, 0, 0), k_white);
    EXPECT_EQ(f.at(1, 1, 1), k_white);
    EXPECT_EQ(f.at(1, 2, 2), k_black);
}

TEST(Render, TheSpareMeshSlotCanBeCarried)
{
    Fixture f;
    type_model& model = *f.model;
    model.mesh(32).vertex_count = 1;
    model.mesh(32).vertices[0].y = 9;
    add_node(model, 32);
    f.render(1);
    EXPECT_EQ(position(model, 32, 0, 1), (Screen{9, 0}));
}

TEST(Render, ChangesOnlyTheActiveView)
{
    Fixture f;
    type_model& model = *f.model;
    const int m = add_placed_mesh(model, {{0, 10, -10}, {0, 20, -10}}, {{0, 1}});
    for (int v = 2; v <= 3; ++v) {
        model.mesh(m).vertices[0].screen_x[v] = 11 * v;
        model.mesh(m).vertices[0].screen_y[v] = 13 * v;
    }
    f.render(1);
    EXPECT_EQ(f.at(1, 10, 10), k_white);
    EXPECT_EQ(f.at(1, 15, 10), k_silver);
    EXPECT_EQ(f.at(1, 40, 40), k_black);
    EXPECT_TRUE(f.untouched(2));
    EXPECT_TRUE(f.untouched(3));
    EXPECT_EQ(position(model, m, 0, 2), (Screen{22, 26}));
    EXPECT_EQ(position(model, m, 0, 3), (Screen{33, 39}));
}

TEST(Render, GeosetsBeyondTheFirstAreNeverDrawn)
{
    Fixture f;
    type_model& model = *f.model;
    for (int g = 1; g <= 4; ++g) {
        add_mesh(model, {{0, 5, -5}, {0, 20, -20}}, {{0, 1}}, g);
    }
    add_node(model, 0);
    f.render(1);
    EXPECT_EQ(f.count(1, k_black), std::size_t{k_width} * k_height);
    EXPECT_EQ(position(model, 0, 0, 1), (Screen{0, 0})); // geoset 0's empty slot
}

// Two triangles side by side in view 1; mesh 1 has two faces so that a face
// other than 0 can be selected.
struct ColourScene : Fixture {
    ColourScene()
    {
        add_placed_mesh(*model, {{0, 4, -4}, {0, 14, -4}, {0, 4, -14}}, {{0, 1, 2}});
        add_placed_mesh(*model, {{0, 30, -4}, {0, 40, -4}, {0, 30, -14}, {0, 40, -14}},
                        {{0, 1, 2}, {1, 3, 2}});
    }
};

TEST(Render, ColoursFollowTheEditModeAndSelection)
{
    // Sample points: mesh 0's top edge and first vertex, mesh 1's top edge
    // (face 0 only), its diagonal (faces 0 and 1), its bottom edge (face 1
    // only), its first vertex and its last vertex (face 1 only).
    struct Sample {
        int x, y;
    };
    const Sample mesh0_edge{9, 4}, mesh0_vertex{4, 4}, mesh1_top{35, 4}, mesh1_bottom{35, 14},
        mesh1_vertex{30, 4}, mesh1_last_vertex{40, 14};
    struct Case {
        const char* name;
        EditMode mode;
        int sel_mesh, sel_face, sel_vertex;
        std::uint32_t mesh0_edge, mesh0_vertex, mesh1_top, mesh1_bottom, mesh1_vertex,
            mesh1_last_vertex;
    };
    const Case cases[] = {
        {"mesh 1 in Mesh mode", mesh_mode, 1, 0, 0, k_silver, k_white, k_red, k_red, k_red, k_red},
        {"mesh 0 in Mesh mode", mesh_mode, 0, 1, 3, k_red, k_red, k_silver, k_silver, k_white,
         k_white},
        {"face 1 in Face mode", face_mode, 1, 1, 0, k_silver, k_white, k_silver, k_red, k_white,
         k_red},
        {"vertex 3 in Vertex mode", vertex_mode, 1, 0, 3, k_silver, k_yellow, k_silver, k_silver,
         k_yellow, k_red},
        {"vertex 0 of mesh 0", vertex_mode, 0, 0, 0, k_silver, k_red, k_silver, k_silver, k_yellow,
         k_yellow},
    };
    for (const Case& c : cases) {
        ColourScene f;
        f.model->sel_mesh = c.sel_mesh;
        f.model->sel_face = c.sel_face;
        f.model->sel_vertex = c.sel_vertex;
        f.render(1, c.mode);
        EXPECT_EQ(f.at(1, mesh0_edge.x, mesh0_edge.y), c.mesh0_edge) << c.name;
        EXPECT_EQ(f.at(1, mesh0_vertex.x, mesh0_vertex.y), c.mesh0_vertex) << c.name;
        EXPECT_EQ(f.at(1, mesh1_top.x, mesh1_top.y), c.mesh1_top) << c.name;
        EXPECT_EQ(f.at(1, mesh1_bottom.x, mesh1_bottom.y), c.mesh1_bottom) << c.name;
        EXPECT_EQ(f.at(1, mesh1_vertex.x, mesh1_vertex.y), c.mesh1_vertex) << c.name;
        EXPECT_EQ(f.at(1, mesh1_last_vertex.x, mesh1_last_vertex.y), c.mesh1_last_vertex) << c.name;
    }
}

TEST(Render, ASelectionPastTheLastMeshShowsNoRed)
{
    for (EditMode mode : {mesh_mode, face_mode}) {
        ColourScene f;
        f.model->sel_mesh = 2;
        f.render(1, mode);
        EXPECT_EQ(f.count(1, k_red), 0u) << int{mode};
        EXPECT_GT(f.count(1, k_silver), 0u);
    }
}

TEST(Render, SelectionLiesOverEverything)
{
    // Mesh 1 is drawn after mesh 0 and covers its vertex; the selection still
    // shows on top.
    Fixture f;
    type_model& model = *f.model;
    add_placed_mesh(model, {{0, 10, -10}, {0, 20, -10}}, {{0, 1}});
    add_placed_mesh(model, {{0, 10, -10}, {0, 10, -20}}, {{0, 1}});
    model.sel_mesh = 0;
    model.sel_vertex = 0;
    f.render(1, vertex_mode);
    EXPECT_EQ(f.at(1, 10, 10), k_red);
    f.render(1, mesh_mode);
    EXPECT_EQ(f.at(1, 10, 10), k_white); // mesh 1's white square over mesh 0's red
}

// A face with one or two corners: the outline of a single corner is a line
// to itself (nothing), a face of two corners draws the segment both ways.
TEST(Render, FacesWithOneOrTwoCorners)
{
    struct Case {
        std::vector<int> corners;
        std::vector<std::pair<int, int>> silver;
    };
    const Case cases[] = {
        {{0}, {}},
        // From (10,10) to (16,13) the half at x 13 rounds towards whichever
        // end the line starts from, so both rows show there. The rest lies
        // under the vertex squares.
        {{0, 1}, {{12, 11}, {13, 11}, {13, 12}, {14, 12}}},
    };
    for (const Case& c : cases) {
        Fixture f;
        add_placed_mesh(*f.model, {{0, 10, -10}, {0, 16, -13}}, {c.corners});
        f.render(1, face_mode);
        f.model->sel_face = 1; // nothing selected in the picture below
        f.render(1, face_mode);
        EXPECT_EQ(f.count(1, k_silver), c.silver.size());
        for (const auto& [x, y] : c.silver) {
            EXPECT_EQ(f.at(1, x, y), k_silver) << x << "," << y;
        }
        EXPECT_EQ(f.count(1, k_white), 18u);
    }
}

TEST(Render, CornersBeyondTheVertexCountReadTheirSlot)
{
    Fixture f;
    type_model& model = *f.model;
    const int m = add_placed_mesh(model, {{0, 10, -10}}, {{0, 500}});
    model.mesh(m).vertices[500].screen_x[1] = 30;
    model.mesh(m).vertices[500].screen_y[1] = 10;
    f.render(1);
    EXPECT_EQ(f.at(1, 20, 10), k_silver);
    EXPECT_EQ(f.at(1, 30, 10), k_silver); // no square: vertex 500 is not a vertex of the mesh
}

TEST(Render, FailuresLeaveTheImageAndLaterPositions)
{
    struct Case {
        const char* name;
        int zoom, pan_y, pan_z;
        Point3 bad;
        bool throws_float;
        bool screen_x_written;
    };
    const Case cases[] = {
        {"rounding out of range", INT_MAX, 0, 0, {0, 1e10, 0}, true, false},
        {"rounding NaN", 1, 0, 0, {0, 0, std::numeric_limits<double>::quiet_NaN()}, true, false},
        {"x offset overflows", 1, INT_MAX, 0, {0, 1, 0}, false, false},
        {"y offset overflows", 1, 0, INT_MIN, {0, 0, 1}, false, true},
        {"square corner overflows", 1, INT_MAX - 1, 0, {}, false, true},
    };
    for (const Case& c : cases) {
        Fixture f;
        type_model& model = *f.model;
        const int m = add_placed_mesh(model, {{}, c.bad, {}}, {});
        for (int j = 0; j < 3; ++j) {
            model.mesh(m).vertices[j].screen_x[1] = -7;
            model.mesh(m).vertices[j].screen_y[1] = -7;
        }
        type_view& view = f.state.views[1];
        view.zoom = c.zoom;
        view.pan_y = c.pan_y;
        view.pan_z = c.pan_z;
        if (c.throws_float) {
            EXPECT_THROW(f.render(1), InvalidFloatError) << c.name;
        } else {
            EXPECT_THROW(f.render(1), OverflowError) << c.name;
        }
        EXPECT_TRUE(f.untouched(1)) << c.name;
        const bool square_failed = c.bad.y == 0 && c.bad.z == 0;
        if (square_failed) {
            for (int j = 0; j < 3; ++j) {
                EXPECT_EQ(position(model, m, j, 1), (Screen{INT_MAX - 1, 0})) << c.name;
            }
        } else {
            EXPECT_NE(position(model, m, 0, 1), (Screen{-7, -7})) << c.name;
            EXPECT_EQ(position(model, m, 1, 1).x != -7, c.screen_x_written) << c.name;
            EXPECT_EQ(position(model, m, 1, 1).y, -7) << c.name;
            EXPECT_EQ(position(model, m, 2, 1), (Screen{-7, -7})) << c.name;
        }
    }
}

TEST(Render, ViewsWithoutPositionsFailAtTheFirstThingToDraw)
{
    struct Case {
        const char* name;
        bool carried_vertex, loose_vertex, face;
        EditMode mode;
        bool throws;
    };
    const Case cases[] = {
        {"nothing to draw", false, false, false, mesh_mode, false},
        {"nothing to draw, Face mode", false, false, false, face_mode, false},
        {"a vertex to project", true, false, false, mesh_mode, true},
        {"a vertex to draw", false, true, false, mesh_mode, true},
        {"an edge to draw", false, false, true, mesh_mode, true},
        {"the selected vertex", false, false, false, vertex_mode, true},
    };
    for (int view : {0, 4}) {
        for (const Case& c : cases) {
            Fixture f;
            type_model& model = *f.model;
            if (c.carried_vertex) {
                add_placed_mesh(model, {{0, 1, 1}}, {});
            }
            if (c.loose_vertex) {
                add_mesh(model, {{0, 1, 1}}, {});
            }
            if (c.face) {
                type_mesh& mesh = model.mesh(add_mesh(model, {}, {{0}}));
                mesh.vertex_count = 0;
            }
            f.out.canvas.set_brush(k_red);
            f.out.canvas.fill_rect(0, 0, k_width, k_height);
            if (c.throws) {
                EXPECT_THROW(f.render(view, c.mode), RangeError) << c.name;
            } else {
                EXPECT_NO_THROW(f.render(view, c.mode)) << c.name;
            }
            const PixelImage& canvas = f.out.canvas.image();
            EXPECT_EQ(canvas.pixel(0, 0), k_black) << c.name;
            EXPECT_EQ(canvas.pixel(k_width - 1, k_height - 1), k_black) << c.name;
            for (int v = 1; v <= 3; ++v) {
                EXPECT_TRUE(f.untouched(v)) << c.name;
            }
            if (model.geosets[0].mesh_count > 0) {
                for (int v = 1; v <= 3; ++v) {
                    EXPECT_EQ(position(model, 0, 0, v), (Screen{0, 0})) << c.name;
                }
            }
        }
    }
}

TEST(RedrawAllViews, DrawsEveryViewAndRestoresTheActiveOne)
{
    for (int active : {0, 1, 2, 3, 4}) {
        Fixture f;
        add_placed_mesh(*f.model, {{1, 2, 3}}, {});
        for (int v = 1; v <= 3; ++v) {
            f.state.views[v].pan_x = 10 * v;
            f.state.views[v].pan_y = 10 * v;
            f.state.views[v].pan_z = 10 * v + 5;
        }
        f.state.active_view = active;
        redraw_all_views(*f.model, f.state, mesh_mode, f.out);
        EXPECT_EQ(int{f.state.active_view}, active);
        EXPECT_EQ(position(*f.model, 0, 0, 1), (Screen{12, 12}));
        EXPECT_EQ(position(*f.model, 0, 0, 2), (Screen{19, 22}));
        EXPECT_EQ(position(*f.model, 0, 0, 3), (Screen{29, 32}));
        for (int v = 1; v <= 3; ++v) {
            EXPECT_EQ(f.count(v, k_white), 9u) << active << " " << v;
        }
    }
}

TEST(RedrawAllViews, RestoresTheActiveViewWhenARenderFails)
{
    Fixture f;
    add_placed_mesh(*f.model, {{0, 0, 1}}, {});
    f.state.views[2].zoom = INT_MAX;
    f.state.views[2].pan_x = INT_MIN; // view 2 fails: x offset overflows
    f.state.active_view = 4;
    EXPECT_THROW(redraw_all_views(*f.model, f.state, mesh_mode, f.out), OverflowError);
    EXPECT_EQ(int{f.state.active_view}, 4);
    EXPECT_FALSE(f.untouched(1));
    EXPECT_TRUE(f.untouched(2));
    EXPECT_TRUE(f.untouched(3)); // never reached
}

} // namespace
} // namespace facetor
