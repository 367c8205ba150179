#pragma once
// The selection of several: faces (Face mode) or vertices (Vertex mode) of
// the selected mesh, in the order they joined it. `sel_face` and
// `sel_vertex` stay the active element, which is one of them.
//
// A set stands only while it holds the active element, belongs to the
// selected mesh and to the mode in hand, and names nothing past the mesh's
// count; otherwise the selection is the active element alone. Whatever
// moves the active element by itself (a plain pick, a typed value, a load
// that stopped part-way) thus never leaves a stale set behind; what must
// forget a set that would still stand (a mode switch, N and P, a load)
// clears it.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace facetor {

enum EditMode : std::uint8_t;
struct type_model;

struct SelectionSet {
    std::uint8_t mode = 0; // the EditMode of the elements: face_mode or vertex_mode
    std::uint8_t mesh = 0;
    std::uint16_t count = 0;
    std::array<std::uint16_t, 501> items{}; // a mesh holds at most 500 of either
};

// The active element of `mode`: `sel_face` or `sel_vertex`; -1 in Mesh mode.
int active_index(const type_model& model, EditMode mode);

// How many faces or vertices the selected mesh holds; 0 in Mesh mode or
// when `sel_mesh` names no mesh of geoset 0.
int element_count(const type_model& model, EditMode mode);

// The selection of `mode` in the order it was made: the set when it
// stands, else the active element alone, wherever it points (a drag and the
// drawing reach a slot past the count as they always did). Empty in Mesh mode.
std::vector<int> selected_indices(const type_model& model, EditMode mode);

// What a command acts on: the same, but only elements the mesh holds. Empty
// when the active element lies past the count.
std::vector<int> selected_elements(const type_model& model, EditMode mode);

// Back to the active element alone.
void clear_selection(type_model& model);

// Makes `indices` (distinct elements of the selected mesh) the selection of
// `mode`, with `active` (one of them) the active element. An empty list
// clears it and leaves the active element as it is.
void select_elements(type_model& model, EditMode mode, std::span<const int> indices, int active);

// Adds `index` to the selection and makes it the active element, or takes
// it out when it is already there and is not the active one.
void toggle_selected(type_model& model, EditMode mode, int index);

// Select All: every face or vertex of the selected mesh in order, the
// active element kept (index 0 when it lay past the count). False, and
// nothing changed, when there is nothing to select.
bool select_all(type_model& model, EditMode mode);

} // namespace facetor
