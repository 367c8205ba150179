#pragma once
// Projection and drawing of the three orthographic views.
#include <array>

#include "model/model.h"
#include "views/canvas.h"
#include "views/view_state.h"

namespace facetor {

// The rest of a selection of several, beside the active element in red:
// the same colour, dimmer.
inline constexpr std::uint32_t k_dim_red = 0xFF800000;

// What the drawing draws into: the shared off-screen canvas and the three
// view images.
struct ViewImages {
    V_Canvas canvas;                         // sized like one pane by the layout
    std::array<PixelImage, 4> images;        // Image1..Image3 at [1]..[3]; [0] unused
    int screen_width = 0, screen_height = 0; // the whole display, passed in by the window
};

// Draws the active view: clears the canvas, projects the meshes carried by
// nodes into the active view's screen positions, draws edges, vertices and
// the selection for `mode` (the active element red, the rest of the
// selection dim red beneath it), then copies the result into that view's image.
// Throws RangeError when the active view is not 1..3 and there is something
// to draw, InvalidFloatError or OverflowError when a projected position does
// not fit 32 bits; the view's image is then left as it was.
void Render(type_model& model, const ViewState& state, EditMode mode, ViewImages& out);

// Renders views 1, 2 and 3 in this order, then puts `active_view` back as it
// was (also when a Render throws).
void redraw_all_views(type_model& model, ViewState& state, EditMode mode, ViewImages& out);

} // namespace facetor
