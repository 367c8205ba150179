#pragma once
// Loading a model exactly as the editor does, and saying where it stopped.
#include <cstdint>
#include <exception>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/model.h"
#include "model/read_diagnostic.h"
#include "model/reader.h"

namespace facetor {

// A model named on the command line: a file, or "-" for standard input,
// which is read whole since it can be read only once.
class ModelInput {
  public:
    ModelInput(std::string name, std::istream& standard_input);

    const std::string& name() const { return name_; }
    // Reads into `model` through the editor's reader; throws its errors.
    void read(type_model& model, ReadObserver* observer = nullptr) const;
    // Where each of `offsets` (ascending) lies, in one pass over the data.
    std::vector<LineColumn> line_columns(const std::vector<std::uint64_t>& offsets) const;
    // "NAME:LINE:COLUMN" of one offset.
    std::string place(std::uint64_t offset) const;

  private:
    std::string name_;
    std::optional<std::string> bytes_; // standard input's
};

// The text the command line shows for an error: the editor's text, and the
// system's words for a file error that has only a number
// ("I/O error 21 (Is a directory)"), or "out of memory".
std::string error_text(const std::exception& e);

// Loads `input` into `model` through the editor's reader. On failure writes
// one line to `diagnostics`, "FILE:LINE:COLUMN: ERROR: expected ..." and the
// like, and returns false. Errors the reader does not raise itself (memory)
// are reported against the file too.
bool load_model(const ModelInput& input, type_model& model, std::ostream& diagnostics,
                ReadObserver* observer = nullptr);

} // namespace facetor
