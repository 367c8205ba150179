#pragma once
// The 3DO reader: fills the model from a file, strictly forward, one
// character of look-ahead, each value stored in place as soon as it is read.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "model/errors.h"
#include "model/model.h"
#include "model/progress.h"

namespace facetor {

// Where and why a load stopped, for tools that point at the place. Both are
// the editor's own errors: their text stays "ERROR" and "Range check error".
// `offset` is the byte offset of the token the load stopped at.
class ReadFormatError : public FormatError {
  public:
    ReadFormatError(std::string expected, std::uint64_t offset)
        : expected_(std::move(expected)), offset_(offset)
    {
    }
    // What the grammar wanted there: a quoted word, "an integer", ...
    const std::string& expected() const noexcept { return expected_; }
    std::uint64_t offset() const noexcept { return offset_; }

  private:
    std::string expected_;
    std::uint64_t offset_;
};

class ReadRangeError : public RangeError {
  public:
    ReadRangeError(const char* field, long long value, long long lo, long long hi,
                   std::uint64_t offset)
        : field_(field), value_(value), lo_(lo), hi_(hi), offset_(offset)
    {
    }
    // The model field the value was meant for, e.g. "vertex_count".
    const char* field() const noexcept { return field_; }
    long long value() const noexcept { return value_; }
    long long lo() const noexcept { return lo_; }
    long long hi() const noexcept { return hi_; }
    std::uint64_t offset() const noexcept { return offset_; }

  private:
    const char* field_;
    long long value_, lo_, hi_;
    std::uint64_t offset_;
};

// Tokenizer state. It lives as long as the window: `cur_char` keeps the last
// character of one load when the next starts.
struct ReaderState {
    unsigned char cur_char = 0;
    std::int32_t tok_int = 0;
    double tok_float = 0;
    std::string tok_text;
};

// Told where the lines of a load begin, for tools that check more than the
// editor does. Offsets are byte offsets in the data, as in the errors above.
class ReadObserver {
  public:
    virtual ~ReadObserver() = default;
    // After the mesh's name, which begins at `name_offset`.
    virtual void mesh_read(int geoset, int mesh, std::uint64_t name_offset) = 0;
    // After the face's material index, the token at `material_offset`.
    virtual void face_read(int geoset, int mesh, int face, int material,
                           std::uint64_t material_offset) = 0;
    // After the node's flags, the first token after its line number.
    virtual void node_read(int node, std::uint64_t flags_offset) = 0;
};

// Reads the file at `path` into `model`. Raises FileError when it cannot be
// opened or read, ReadFormatError ("ERROR") for a word or number that does
// not fit, ReadRangeError for a value outside its field's range; whatever was stored
// before an error stays. On success the bar reads 99, the file is closed, the
// nodes are placed and the selection is mesh 0, face 0, vertex 0.
void read_3do_file(const std::string& path, type_model& model, ReaderState& state,
                   Progress& progress, ReadObserver* observer = nullptr);

// The same over bytes already in memory (tests, fuzzing).
void read_3do_bytes(std::string_view bytes, type_model& model, ReaderState& state,
                    Progress& progress, ReadObserver* observer = nullptr);

// The same over any byte source (model/tokenizer.h).
class ByteSource;
void read_3do(ByteSource& source, type_model& model, ReaderState& state, Progress& progress,
              ReadObserver* observer = nullptr);

} // namespace facetor
