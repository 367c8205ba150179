#pragma once
// Picking meshes, faces and vertices with the mouse in the orthographic views
// and dragging them with Ctrl held. Picks compare the pointer with the pixel
// positions the last drawing stored in each vertex for the active view; they
// never invert the projection.
#include <cstdint>
#include <string>

#include "model/model.h"
#include "model/selection_set.h"
#include "views/view_state.h"

namespace facetor {

struct PickState {
    std::int32_t pick_target = 0;  // ordinal from 1 of the candidate the next pick takes; 0 = none
    std::int32_t pick_skipped = 0; // candidates passed over in the current scan
    std::uint8_t dragging = 0;     // 1 from a Ctrl-press until the button is released
    std::int32_t drag_prev_x = 0, drag_prev_y = 0;
    std::int32_t mouse_x = 0, mouse_y = 0; // last pointer position over any view image
};

// Two segments A-B and P-Q in single precision. On a crossing (both
// parameters in 0..1, ends included) returns true and writes u, the
// parameter along P-Q. The point (x, y) on the line A-B is written whenever
// the segments are not parallel; parallel or collinear ones never cross and
// write nothing.
bool segment_intersect(float ax, float ay, float bx, float by, float px, float py, float qx,
                       float qy, float& x, float& y, float& u);

// Whether face f of mesh m is under (x, y) in view `view` (1..3): the number
// of its edges crossing the segment to (x + 1000, y + 1000) is odd.
bool face_hit(const type_model& model, int m, int f, int view, std::int32_t x, std::int32_t y);

// Vertex mode pick at (x, y) in view 1..3. Returns whether a vertex was taken.
bool vertex_pick(type_model& model, int view, std::int32_t x, std::int32_t y);

// Face mode and mesh mode picks at (x, y) in view 1..3, cycling through the
// elements under the pointer on repeated presses. Return whether one was taken.
bool face_pick(PickState& pick, type_model& model, int view, std::int32_t x, std::int32_t y);
bool mesh_pick(PickState& pick, type_model& model, int view, std::int32_t x, std::int32_t y);

struct PressResult {
    bool start_mover = false; // enable the mover timer
    // After every press, picked or not: refresh_panels, then redraw all views.
};

// Shift+press in Face or Vertex mode: the face or vertex the press picks
// joins the selection as its active element, or leaves it when it is there
// already (the pick never takes the active one). A press that picks nothing,
// or picks in another mesh, changes nothing. In Mesh mode it is a plain pick.
// Returns whether the selection changed.
bool add_pick(PickState& pick, type_model& model, int view, EditMode mode, std::int32_t x,
              std::int32_t y);

// Image2MouseDown. Ctrl starts a drag and picks nothing; otherwise the edit
// mode's pick runs in the active view (none in active view 0 or 4): with
// Shift it adds to the selection, without it the pick is the selection.
PressResult mouse_press(PickState& pick, type_model& model, const ViewState& views, EditMode mode,
                        std::int32_t x, std::int32_t y, bool ctrl, bool shift = false);

// What the status bar's panels 0 and 1 show for a pointer position.
struct StatusTexts {
    std::string x;
    std::string y;
};

// The panels' texts for a pointer at (x, y).
StatusTexts status_texts(std::int32_t x, std::int32_t y);

// Image2MouseMove: ends a pick cycle and remembers the pointer.
StatusTexts mouse_move(PickState& pick, std::int32_t x, std::int32_t y);

// Image2MouseUp: the drag ends; the window disables the mover timer.
void mouse_release(PickState& pick);

// Moves vertex v of the selected mesh by the pointer movement since the last
// drag step, along the two model axes of the active view. A view scaled to
// zoom 0 (or below) moves nothing.
void move_vertex(type_model& model, const PickState& pick, const ViewState& views, int v);

// The vertices of the selected mesh that a drag step moves, each once, in
// the order it moves them: in Mesh mode every vertex, in Face mode the
// corners of the selected faces, in Vertex mode the selected vertices.
template <typename Visit>
void for_each_dragged_vertex(const type_model& model, EditMode mode, Visit visit)
{
    const type_mesh& mesh = model.mesh(model.sel_mesh);
    switch (mode) {
    case mesh_mode:
        for (int v = 0; v < mesh.vertex_count; ++v) {
            visit(v);
        }
        break;
    case face_mode: {
        // However many selected faces share a vertex, it moves once.
        std::array<bool, k_max_vertices + 1> moved{};
        for (const int f : selected_indices(model, mode)) {
            const type_faces& face = mesh.faces[static_cast<std::size_t>(f)];
            for (int k = 1; k <= face.corner_count; ++k) {
                const auto v = face.corner_vertex[static_cast<std::size_t>(k)].get();
                if (!moved[v]) {
                    moved[v] = true;
                    visit(static_cast<int>(v));
                }
            }
        }
        break;
    }
    case vertex_mode:
        for (const int v : selected_indices(model, mode)) {
            visit(v);
        }
        break;
    }
}

// moverTimer: moves the selected mesh, face or vertex by the pointer
// movement. Returns whether the window must redraw all three views (exactly
// while dragging).
bool drag_step(PickState& pick, type_model& model, const ViewState& views, EditMode mode);

} // namespace facetor
