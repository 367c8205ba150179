#pragma once
// Create Mesh...: a new mesh of geoset 0, one triangle in the plane of an
// orthographic view, carried by a new root node that follows the other
// roots.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "editing/element_rules.h"
#include "model/model.h"
#include "model/vector_math.h"

namespace facetor {

// The node whose sibling link the new root takes: the last of the roots'
// chain, from the lowest-numbered root along the sibling links. None
// needed (a model without roots) is -1. Empty when the new node cannot be
// linked: links name nodes 0 to 32 only, or the chain breaks off (a link
// past the nodes, a loop, a root whose sibling is no root).
struct RootLink {
    int last_root = -1;
};
std::optional<RootLink> root_link(const type_model& model);

// The size of the new triangle: a tenth of the view's width in model
// units, at its zoom; 0.1 when the zoom (0 or below) or the width gives
// none.
double new_mesh_size(int view_width, std::int32_t zoom);

// The triangle's corners: `size` wide and high around the origin, in the
// plane of orthographic view `view` (1..3; any other is taken as 2, the
// view made active first), corners counter-clockwise as the view shows
// them, so that the face looks at it.
std::array<Vec3, 3> new_triangle(int view, double size);

// A name no mesh of geoset 0 has: "mesh" and a number, the mesh count or
// the first free one after it.
std::string default_mesh_name(const type_model& model);

// Create Mesh...: mesh `name` (the typed-name rules of the grids) at the
// end of geoset 0, making `geoset_count` 1 if it was 0, with the selected
// mesh's modes; one face of three new vertices and texture vertices
// (new_triangle), the model's first material (the list is given one when
// it has none); a new root node of the same name carrying it, the last
// sibling of the roots. It becomes the selected mesh.
EditOutcome create_mesh(type_model& model, const std::string& name, int view, double size);

} // namespace facetor
