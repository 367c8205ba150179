#pragma once
// The 3DO reader: fills the model from a file, strictly forward, one
// character of look-ahead, each value stored in place as soon as it is read.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/model.h"
#include "model/progress.h"

namespace facetor {

// Tokenizer state. It lives as long as the window: `cur_char` keeps the last
// character of one load when the next starts.
struct ReaderState {
    unsigned char cur_char = 0;
    std::int32_t tok_int = 0;
    double tok_float = 0;
    std::string tok_text;
};

// Reads the file at `path` into `model`. Raises FileError when it cannot be
// opened or read, FormatError ("ERROR") for a word or number that does not
// fit, RangeError for a value outside its field's range; whatever was stored
// before an error stays. On success the bar reads 99, the file is closed, the
// nodes are placed and the selection is mesh 0, face 0, vertex 0.
void read_3do_file(const std::string& path, type_model& model, ReaderState& state,
                   Progress& progress);

// The same over bytes already in memory (tests, fuzzing).
void read_3do_bytes(std::string_view bytes, type_model& model, ReaderState& state,
                    Progress& progress);

// The same over any byte source (model/tokenizer.h).
class ByteSource;
void read_3do(ByteSource& source, type_model& model, ReaderState& state, Progress& progress);

} // namespace facetor
