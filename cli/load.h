#pragma once
// Loading a model exactly as the editor does, and saying where it stopped.
#include <cstdint>
#include <ostream>
#include <string>

#include "model/model.h"

namespace facetor {

struct LineColumn {
    std::uint64_t line = 1;   // from 1; a line ends at its line feed
    std::uint64_t column = 1; // from 1, in bytes
};

// Where byte `offset` of the file at `path` lies. Counted only when a load
// has failed, so the load itself keeps no line numbers.
LineColumn line_column_at(const std::string& path, std::uint64_t offset);

// Loads `path` into `model` through the editor's reader. On failure writes
// one line to `diagnostics`, "FILE:LINE:COLUMN: ERROR: expected ..." and the
// like, and returns false.
bool load_model(const std::string& path, type_model& model, std::ostream& diagnostics);

} // namespace facetor
