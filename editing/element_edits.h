#pragma once
// The Options menu's vertex and face commands and Edit Delete: each works
// on the selection of the mode in hand (model/selection_set.h) and is one
// step of the edit history. A command with nothing to act on changes
// nothing and says nothing (the window greys it); one that would pass a
// capacity of the format changes nothing and says why.
#include <optional>

#include "editing/element_rules.h"
#include "model/model.h"

namespace facetor {

// Create Vertex (Vertex mode): a copy of the active vertex (position,
// intensity, normal) at the end of the selected mesh, then the active and
// only selected vertex.
EditOutcome create_vertex(type_model& model, EditMode mode);

// Delete Vertex (Vertex mode): the selected vertices, with every face that
// names one of them; the rest are renumbered, so every face keeps its
// corners. Vertex 0 and face 0 of what remains are then active.
EditOutcome delete_vertices(type_model& model, EditMode mode);

// Create Face (Vertex mode, 3 to 10 vertices selected): a face of them in
// the order they were selected, at the end of the mesh; then the active face.
EditOutcome create_face(type_model& model, EditMode mode);

// Delete Face (Face mode): the selected faces; their vertices stay. Face 0
// of what remains is then active.
EditOutcome delete_faces(type_model& model, EditMode mode);

// Edit Delete in Mesh mode: the selected mesh. The nodes that carried it
// carry none (mesh -1) and stay; those naming a later mesh follow it down.
// Mesh 0 is then selected.
EditOutcome delete_mesh(type_model& model, EditMode mode);

// Edit Delete: the selected vertices, faces or mesh, by the mode.
EditOutcome delete_selection(type_model& model, EditMode mode);

// A face Carve Face splits, and where: corners `first` < `second` (1-based,
// not neighbours) name the two selected vertices.
struct Carving {
    int face = 0;
    int first = 0, second = 0;
};

// With exactly two vertices selected (Vertex mode): the active face if both
// are corners of it that are not neighbours, else the lowest-numbered such
// face; none when no face has them so.
std::optional<Carving> carving(const type_model& model, EditMode mode);

// Carve Face: the face of `carving` becomes two, split between the two
// corners: corners first..second keep its index, corners second..last and
// first..first follow the mesh's last face. Both keep its material, type,
// modes, extra light and the texture vertices of their corners.
EditOutcome carve_face(type_model& model, EditMode mode);

} // namespace facetor
