// The selection of several as presses make it: Shift+press adds and takes
// out, a plain press and N leave one element; a drag moves each selected
// vertex once.
#include <gtest/gtest.h>

#include "model/selection_set.h"
#include "views/navigation.h"
#include "views/picking.h"
#include "views/test_models.h"

namespace facetor {
namespace {

struct Spot {
    int x, y;
};

class ShiftPress : public ::testing::Test {
  protected:
    std::unique_ptr<type_model> model = make_model();
    ViewState views;
    PickState pick;

    ShiftPress() { views.active_view = 2; }

    // A mesh of geoset 0 whose vertices were drawn at `spots` in view 2.
    void add_mesh(const std::vector<Spot>& spots, const std::vector<std::vector<int>>& faces = {})
    {
        const int m = testing::add_mesh(*model, std::vector<testing::Point3>(spots.size()), faces);
        for (std::size_t v = 0; v < spots.size(); ++v) {
            model->mesh(m).vertices[v].screen_x[2] = spots[v].x;
            model->mesh(m).vertices[v].screen_y[2] = spots[v].y;
        }
    }

    void press(int x, int y, EditMode mode, bool shift)
    {
        mouse_press(pick, *model, views, mode, x, y, false, shift);
    }
};

// Shift+presses in one spot after another, from vertex 0 of mesh 0 alone
// selected; each row is what the selection is after its press.
TEST_F(ShiftPress, AddsToTheSelectionOrTakesOut)
{
    add_mesh({{100, 100}, {200, 200}, {300, 300}}, {{0, 1, 2}});
    add_mesh({{400, 400}});
    struct Case {
        Spot at;
        bool shift;
        std::vector<int> selected; // in order
        int active;
    };
    const Case cases[] = {
        {{200, 200}, true, {0, 1}, 1}, {{300, 300}, true, {0, 1, 2}, 2},
        {{100, 100}, true, {1, 2}, 2}, // there, not active: taken out
        {{300, 300}, true, {1, 2}, 2}, // the active one is passed over: nothing else there
        {{400, 400}, true, {1, 2}, 2}, // another mesh: nothing changes
        {{10, 10}, true, {1, 2}, 2},   // nothing under the pointer
        {{100, 100}, false, {0}, 0},   // a plain press: only what it picks
    };
    for (const Case& c : cases) {
        press(c.at.x, c.at.y, vertex_mode, c.shift);
        EXPECT_EQ(selected_indices(*model, vertex_mode), c.selected) << c.at.x;
        EXPECT_EQ(model->sel_vertex, c.active) << c.at.x;
        EXPECT_EQ(model->sel_mesh, 0) << c.at.x;
    }

    // Faces the same way; a Ctrl-drag then moves each of their vertices once.
    model->sel_face = 0;
    add_mesh({{500, 500}, {600, 500}, {500, 600}}, {{0, 1, 2}, {1, 2, 0}});
    model->sel_mesh = 2;
    press(530, 530, face_mode, true);
    EXPECT_EQ(selected_indices(*model, face_mode), (std::vector<int>{0, 1}));
    std::vector<int> moved;
    for_each_dragged_vertex(*model, face_mode, [&](int v) { moved.push_back(v); });
    EXPECT_EQ(moved, (std::vector<int>{0, 1, 2}));
    step_selection(*model, face_mode, true); // N: the active element alone, face 2
    EXPECT_EQ(selected_indices(*model, face_mode), (std::vector<int>{2}));
}

} // namespace
} // namespace facetor
