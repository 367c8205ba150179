#pragma once
// The 3DO writer: canonical 3DO 2.1 text that the reader loads back into the
// same model: CR LF line ends, sections and lines in the reader's order,
// materials by index, every double in the shortest form that reads back
// exactly.
#include <ostream>
#include <string>
#include <vector>

#include "model/model.h"

namespace facetor {

// Writes `model` as a file would give it to a fresh model: the counts and
// the elements within them (node placement and the selection are the
// load's own work). Returns one warning per value the reader could not
// read back exactly, naming it by its field path ("geosets[0].meshes[1].name")
// and saying what was written instead. Stream errors are left in `out`.
std::vector<std::string> write_3do(const type_model& model, std::ostream& out);

// The same into the file at `path` by replace_file (model/replace_file.h):
// a failure leaves no partial file and the old file as it was, `path` may be
// the file the model was read from, a link is followed and a device or pipe
// written into. Throws FileError with the system's error number.
std::vector<std::string> write_3do_file(const type_model& model, const std::string& path);

} // namespace facetor
