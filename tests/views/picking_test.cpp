#include "views/picking.h"

#include <cmath>

#include <gtest/gtest.h>

#include "views/test_models.h"

namespace facetor {
namespace {

struct Selection {
    int mesh, face, vertex;
    bool operator==(const Selection&) const = default;
};

void PrintTo(const Selection& s, std::ostream* os)
{
    *os << "mesh " << s.mesh << " face " << s.face << " vertex " << s.vertex;
}

struct Pixel {
    int x, y;
};

class PickingTest : public ::testing::Test {
  protected:
    std::unique_ptr<type_model> model = make_model();
    ViewState views;
    PickState pick;

    PickingTest()
    {
        layout_views(views, 800, 600);
        views.active_view = 2;
    }

    // Appends a mesh to geoset 0 whose vertices were drawn at `pixels` in
    // every view; faces are corner lists of vertex indices.
    int add_mesh(const std::vector<Pixel>& pixels, const std::vector<std::vector<int>>& faces = {})
    {
        std::vector<testing::Point3> positions;
        for (std::size_t v = 0; v < pixels.size(); ++v) {
            positions.push_back({0.1 * static_cast<double>(v), 0.2, 0.3});
        }
        const int m = testing::add_mesh(*model, positions, faces);
        type_mesh& mesh = model->mesh(m);
        for (std::size_t v = 0; v < pixels.size(); ++v) {
            for (int view = 1; view <= 3; ++view) {
                mesh.vertices[v].screen_x[view] = pixels[v].x;
                mesh.vertices[v].screen_y[view] = pixels[v].y;
            }
        }
        return m;
    }

    void press(int x, int y, EditMode mode, bool ctrl = false)
    {
        mouse_press(pick, *model, views, mode, x, y, ctrl);
    }

    Selection selection() const { return {model->sel_mesh, model->sel_face, model->sel_vertex}; }
};

TEST(SegmentIntersect, Cases)
{
    struct Case {
        float ax, ay, bx, by, px, py, qx, qy;
        bool crosses;
        float u;
    };
    const Case cases[] = {
        {0, 10, 10, 0, 0, 0, 10, 10, true, 0.5f}, // an X
        {0, 0, 10, 0, 0, 1, 10, 1, false, 0},     // parallel
        {0, 0, 10, 10, 2, 2, 20, 20, false, 0},   // collinear
        {0, 10, 10, 0, 5, 5, 20, 20, true, 0},    // P on A-B: inclusive
        {0, 10, 10, 0, 0, 0, 5, 5, true, 1},      // Q on A-B: inclusive
        {0, 0, 0, 10, 0, 5, 10, 5, true, 0},      // end of A-B touches P-Q
        {0, 10, 10, 0, 6, 6, 20, 20, false, 0},   // beyond P
        {20, 0, 20, 10, 0, 0, 10, 10, false, 0},  // beyond Q
    };
    for (const Case& c : cases) {
        float x = -1, y = -1, u = -1;
        const bool r = segment_intersect(c.ax, c.ay, c.bx, c.by, c.px, c.py, c.qx, c.qy, x, y, u);
        EXPECT_EQ(r, c.crosses) << c.ax << ',' << c.ay << ' ' << c.bx << ',' << c.by;
        if (r) {
            EXPECT_FLOAT_EQ(u, c.u);
        } else {
            EXPECT_EQ(u, -1); // u is written only on a crossing
        }
    }
    float x = 7, y = 7, u = 7;
    EXPECT_TRUE(segment_intersect(0, 10, 10, 0, 0, 0, 10, 10, x, y, u));
    EXPECT_FLOAT_EQ(x, 5);
    EXPECT_FLOAT_EQ(y, 5);
}

TEST_F(PickingTest, VertexWindowEdges)
{
    struct Case {
        int dx, dy; // press position relative to the vertex
        bool hit;
    };
    const Case cases[] = {
        {-4, -4, true}, {2, 2, true},  {-4, 2, true},  {2, -4, true}, {0, 0, true},
        {-5, 0, false}, {3, 0, false}, {0, -5, false}, {0, 3, false}, {-5, -5, false},
    };
    add_mesh({{300, 300}, {100, 100}});
    for (const Case& c : cases) {
        model->sel_vertex = 0;
        press(100 + c.dx, 100 + c.dy, vertex_mode);
        EXPECT_EQ(model->sel_vertex, c.hit ? 1 : 0) << c.dx << ',' << c.dy;
    }
}

TEST_F(PickingTest, VertexPicksAlternateBetweenFirstTwo)
{
    add_mesh({{100, 100}, {101, 100}, {100, 101}});
    model->sel_vertex = 7;
    std::vector<int> got;
    for (int i = 0; i < 5; ++i) {
        press(100, 100, vertex_mode);
        got.push_back(model->sel_vertex);
    }
    EXPECT_EQ(got, (std::vector<int>{0, 1, 0, 1, 0}));
}

TEST_F(PickingTest, VertexWithSelectedIndexInOtherMeshIsNeverPicked)
{
    add_mesh({{400, 400}});
    add_mesh({{100, 100}});
    model->sel_vertex = 0;
    press(100, 100, vertex_mode);
    EXPECT_EQ(selection(), (Selection{0, 0, 0}));
}

TEST_F(PickingTest, VertexPickSelectsHighestFaceUsingIt)
{
    add_mesh({{400, 400}}, {});
    add_mesh({{0, 0}, {100, 100}, {50, 0}}, {{0, 1, 2}, {0, 2}, {2, 1}, {0}});
    model->sel_face = 9;
    model->sel_vertex = 5;
    press(100, 100, vertex_mode);
    EXPECT_EQ(selection(), (Selection{1, 2, 1}));

    add_mesh({{200, 200}}, {{}}); // the face lists no corner: nothing uses the vertex
    press(200, 200, vertex_mode);
    EXPECT_EQ(selection(), (Selection{2, 2, 0}));
}

// Three triangles of one mesh stacked over (100, 100).
class StackedFaces : public PickingTest {
  protected:
    StackedFaces()
    {
        add_mesh({{90, 90}, {130, 95}, {95, 130}}, {{0, 1, 2}, {0, 1, 2}, {0, 1, 2}});
        model->sel_face = 400;
    }

    std::vector<int> faces_picked(int presses)
    {
        std::vector<int> got;
        for (int i = 0; i < presses; ++i) {
            press(100, 100, face_mode);
            got.push_back(model->sel_face);
        }
        return got;
    }
};

TEST_F(StackedFaces, RepeatedPressesCycle)
{
    EXPECT_EQ(faces_picked(7), (std::vector<int>{0, 1, 2, 0, 1, 2, 0}));
}

TEST_F(StackedFaces, PointerMoveRestartsTheCycle)
{
    faces_picked(2);
    ASSERT_EQ(model->sel_face, 1);
    mouse_move(pick, 101, 100);
    press(100, 100, face_mode);
    EXPECT_EQ(model->sel_face, 0);
    mouse_move(pick, 100, 100);
    press(100, 100, face_mode); // the first is selected, so the second
    EXPECT_EQ(model->sel_face, 1);
}

TEST_F(StackedFaces, PressBesideEveryFaceKeepsSelection)
{
    faces_picked(1);
    press(10, 200, face_mode);
    EXPECT_EQ(model->sel_face, 0);
    EXPECT_EQ(pick.pick_target, 0);
}

TEST_F(PickingTest, FacePickSelectsMeshFaceAndFirstCorner)
{
    add_mesh({{0, 0}});
    add_mesh({{500, 500}, {90, 90}, {130, 95}, {95, 130}}, {{0}, {2, 3, 1}});
    press(100, 100, face_mode);
    EXPECT_EQ(selection(), (Selection{1, 1, 2}));
}

TEST_F(PickingTest, FacesWithOneOrTwoCornersAreNeverHit)
{
    // Corners straddling the press so that one segment crosses the ray.
    add_mesh({{90, 110}, {110, 90}}, {{0}, {0, 1}, {1}});
    model->sel_face = 300;
    for (int f = 0; f < 3; ++f) {
        EXPECT_FALSE(face_hit(*model, 0, f, 2, 100, 100));
    }
    press(100, 100, face_mode);
    EXPECT_EQ(model->sel_face, 300);
}

TEST_F(PickingTest, FaceWithSelectedIndexInOtherMeshIsNoCandidate)
{
    add_mesh({{0, 0}}, {{0}});
    add_mesh({{90, 90}, {130, 95}, {95, 130}}, {{0, 1, 2}});
    model->sel_face = 0;
    press(100, 100, face_mode);
    EXPECT_EQ(selection(), (Selection{0, 0, 0}));
}

TEST_F(PickingTest, CornerOnTheDiagonalCountsTwice)
{
    // The press is inside the triangle, but the ray leaves it through the
    // corner at (150, 150): both edges meeting there count.
    add_mesh({{80, 100}, {150, 150}, {100, 60}}, {{0, 1, 2}});
    EXPECT_FALSE(face_hit(*model, 0, 0, 2, 100, 100));
    // Moved off the diagonal the same triangle is hit.
    EXPECT_TRUE(face_hit(*model, 0, 0, 2, 101, 100));
}

TEST_F(PickingTest, FaceLargerThanTheRay)
{
    // Only edges within the 1000 pixels count: a press deep inside a large
    // square crosses none and misses it; near its edge it is hit.
    add_mesh({{-2000, -2000}, {3000, -2000}, {3000, 3000}, {-2000, 3000}}, {{0, 1, 2, 3}});
    EXPECT_FALSE(face_hit(*model, 0, 0, 2, 0, 0));
    EXPECT_TRUE(face_hit(*model, 0, 0, 2, 2500, 2400));
}

TEST_F(PickingTest, MeshPickAlternatesBetweenOverlappingMeshes)
{
    add_mesh({{90, 90}, {130, 95}, {95, 130}}, {{0, 1, 2}});
    add_mesh({{80, 80}, {140, 85}, {85, 140}}, {{0, 1, 2}, {0, 1, 2}});
    add_mesh({{400, 200}, {440, 205}, {405, 240}}, {{0, 1, 2}});
    model->sel_mesh = 2;
    model->sel_face = 5;
    model->sel_vertex = 7;
    std::vector<int> got;
    for (int i = 0; i < 4; ++i) {
        press(100, 100, mesh_mode);
        got.push_back(model->sel_mesh);
    }
    EXPECT_EQ(got, (std::vector<int>{0, 1, 0, 1}));
    EXPECT_EQ(selection(), (Selection{1, 0, 0}));

    // Where only the selected mesh lies, nothing changes.
    model->sel_face = 3;
    model->sel_mesh = 2;
    mouse_move(pick, 410, 210);
    press(410, 210, mesh_mode);
    EXPECT_EQ(selection(), (Selection{2, 3, 0}));
}

TEST_F(PickingTest, PickUsesActiveViewPositionsOnly)
{
    add_mesh({{500, 500}, {10, 10}});
    model->mesh(0).vertices[1].screen_x[2] = 600; // drawn elsewhere in view 2
    views.active_view = 2;
    press(10, 10, vertex_mode);
    EXPECT_EQ(model->sel_vertex, 0);
    views.active_view = 1;
    press(10, 10, vertex_mode);
    EXPECT_EQ(model->sel_vertex, 1);
}

TEST_F(PickingTest, NoPickOutsideOrthographicViews)
{
    add_mesh({{100, 100}, {100, 100}}, {{0, 1, 0}});
    for (int active : {0, 4}) {
        views.active_view = active;
        for (EditMode mode : {mesh_mode, face_mode, vertex_mode}) {
            model->sel_mesh = 1;
            model->sel_vertex = 9;
            const PressResult r = mouse_press(pick, *model, views, mode, 100, 100, false);
            EXPECT_FALSE(r.start_mover);
            EXPECT_EQ(selection(), (Selection{1, 0, 9}));
        }
    }
}

// The drag of the pointer by (32, 16) pixels at zoom 3200 in each view.
TEST_F(PickingTest, CtrlDragMovesAlongTheViewAxes)
{
    struct Case {
        int view;
        double dx, dy, dz;
    };
    const Case cases[] = {
        {1, 0, 0.01, -0.005},
        {2, -0.01, 0.005, 0},
        {3, -0.01, 0, -0.005},
    };
    for (const Case& c : cases) {
        model = make_model();
        pick = {};
        add_mesh({{0, 0}, {0, 0}, {0, 0}});
        add_mesh({{0, 0}});
        views.active_view = c.view;
        mouse_move(pick, 100, 100);
        const PressResult r = mouse_press(pick, *model, views, mesh_mode, 100, 100, true);
        EXPECT_TRUE(r.start_mover);
        mouse_move(pick, 132, 116);
        EXPECT_TRUE(drag_step(pick, *model, views, mesh_mode));
        for (int v = 0; v < 3; ++v) {
            const type_vertex& vx = model->mesh(0).vertices[v];
            EXPECT_DOUBLE_EQ(vx.x, 0.1 * v + c.dx) << "view " << c.view;
            EXPECT_DOUBLE_EQ(vx.y, 0.2 + c.dy) << "view " << c.view;
            EXPECT_DOUBLE_EQ(vx.z, 0.3 + c.dz) << "view " << c.view;
        }
        EXPECT_EQ(model->mesh(1).vertices[0].x, 0); // other meshes stay
        // The next step moves only by what the pointer moved since.
        EXPECT_TRUE(drag_step(pick, *model, views, mesh_mode));
        EXPECT_DOUBLE_EQ(model->mesh(0).vertices[0].x, c.dx);
    }
}

TEST_F(PickingTest, DragInFaceAndVertexModes)
{
    add_mesh({{0, 0}, {0, 0}, {0, 0}}, {{}, {2, 0, 2}});
    model->sel_face = 1;
    mouse_move(pick, 0, 0);
    press(0, 0, face_mode, true);
    mouse_move(pick, 32, 0);
    drag_step(pick, *model, views, face_mode);
    const type_mesh& mesh = model->mesh(0);
    EXPECT_DOUBLE_EQ(mesh.vertices[0].x, -0.01);
    EXPECT_DOUBLE_EQ(mesh.vertices[1].x, 0.1);
    EXPECT_DOUBLE_EQ(mesh.vertices[2].x, 0.2 - 0.01); // listed twice, moved once

    model->sel_vertex = 1;
    mouse_move(pick, 0, 0);
    drag_step(pick, *model, views, vertex_mode);
    EXPECT_DOUBLE_EQ(mesh.vertices[1].x, 0.1 + 0.01);
    EXPECT_DOUBLE_EQ(mesh.vertices[0].x, -0.01);

    mouse_release(pick);
    mouse_move(pick, 64, 0);
    EXPECT_FALSE(drag_step(pick, *model, views, vertex_mode));
    EXPECT_DOUBLE_EQ(mesh.vertices[1].x, 0.1 + 0.01);
}

TEST_F(PickingTest, ZeroZoomAndInactiveViewsMoveNothing)
{
    add_mesh({{0, 0}});
    struct Case {
        int active;
        int zoom;
    };
    for (const Case c : {Case{2, 0}, Case{1, 0}, Case{0, 3200}, Case{4, 3200}}) {
        views.active_view = c.active;
        if (c.active >= 1 && c.active <= 3) {
            views.views[c.active].zoom = c.zoom;
        }
        mouse_move(pick, 0, 0);
        press(0, 0, mesh_mode, true);
        mouse_move(pick, 50, -50);
        EXPECT_TRUE(drag_step(pick, *model, views, mesh_mode)); // still redraws
        const type_vertex& v = model->mesh(0).vertices[0];
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
        EXPECT_EQ(v.x, 0);
        EXPECT_EQ(v.y, 0.2);
        EXPECT_EQ(v.z, 0.3);
    }
}

TEST_F(PickingTest, CornersAtCapacityStayInside)
{
    // A corner may name vertex 500 and the selection may sit one past the
    // last item; both are real slots.
    add_mesh({{100, 100}}, {{500, 500, 0}});
    model->mesh(0).vertices[500].screen_x[2] = 140;
    model->mesh(0).vertices[500].screen_y[2] = 60;
    model->sel_face = 500;
    model->sel_mesh = 32;
    model->sel_vertex = 500;
    press(100, 100, face_mode);
    press(100, 100, mesh_mode);
    press(100, 100, vertex_mode);
    mouse_move(pick, 0, 0);
    press(0, 0, face_mode, true);
    mouse_move(pick, 10, 10);
    for (EditMode mode : {mesh_mode, face_mode, vertex_mode}) {
        EXPECT_TRUE(drag_step(pick, *model, views, mode));
    }
}

} // namespace
} // namespace facetor
