#pragma once
// The whole model as text, one line "PATH=VALUE" for every field that differs
// from a fresh model's, in the order the records declare their fields: two
// models are the same exactly when their dumps are.
#include <cstddef>
#include <ostream>
#include <string>

#include "model/model.h"

namespace facetor {

// Which slots of the arrays a dump looks at: all of them, since a model
// loaded twice or edited may keep values past its counts, or only those
// within the counts (corners: every slot of a counted face), which is all a
// load into a fresh model stores. That is a few of the several megabytes:
// the round-trip fuzz compares its loads thus, thousands a second.
enum class DumpSlots { all, counted };

// PATH uses the field names (`geosets[0].meshes[2].vertices[7].x`, corners
// by their number 1..10). VALUE: integers in decimal, doubles in the
// shortest text that reads back to the same double ("-0", "inf", "-inf",
// "nan" as such), texts quoted (model/text_escape.h). Screen positions and
// the 3D scene's face references are left out: they belong to the views.
void dump_model(const type_model& model, std::ostream& out, DumpSlots slots = DumpSlots::all);

// The lines are gathered into writes of about this many bytes: millions of
// small writes to a stream cost more than the dump itself.
inline constexpr std::size_t k_dump_buffer_bytes = 257 * 1024;

} // namespace facetor
