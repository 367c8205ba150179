#pragma once
// Copy and Paste of faces (Face mode). The copy is kept in the program, not
// on the desktop's clipboard: it holds the faces with the vertices and
// texture vertices they use, so that a paste into any mesh stands alone.
#include <vector>

#include "editing/element_change.h"
#include "editing/element_rules.h"
#include "model/model.h"

namespace facetor {

struct Clipboard {
    std::vector<VertexRecord> vertices;
    std::vector<type_tvertex> tvertices;
    // Their corners name the vertices and texture vertices above.
    std::vector<type_faces> faces;

    bool empty() const { return faces.empty(); }
};

// Copy: the selected faces in the order they were selected, each vertex
// and texture vertex they use once. Empty outside Face mode or with no face
// selected.
Clipboard copy_faces(const type_model& model, EditMode mode);

// Paste: the copied faces and what they use as new elements at the end of
// the selected mesh, at the same mesh coordinates, with their normals
// computed; the material list gets the faces' materials it lacks. The new
// faces are then the selection, the first of them active, so that a
// Ctrl-drag moves them away.
EditOutcome paste_faces(type_model& model, EditMode mode, const Clipboard& clipboard);

} // namespace facetor
