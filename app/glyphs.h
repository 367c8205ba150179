#pragma once
// Our own 16 x 16 toolbar glyphs, drawn at start-up.
#include <QIcon>

namespace facetor {

enum class Glyph { open, toggle_view, new_model, save, cut, help, mesh, vertex, face };

QIcon make_glyph(Glyph glyph);

} // namespace facetor
