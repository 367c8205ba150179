#pragma once
// A JSON text checked against the grammar before any library builds it:
// iteratively, with a bound on nesting, so that no text can exhaust the
// stack or reach a parser's own messages.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace facetor {

struct JsonFault {
    enum class Kind { invalid, ends_early, too_deep };
    Kind kind = Kind::invalid;
    std::size_t offset = 0; // of the byte where the text goes wrong
    std::string what;       // for Kind::invalid: what was found or expected
};

struct JsonScan {
    std::optional<JsonFault> fault;
    // The root object's asset.version as written between its quotes, when
    // the text gives one without escapes.
    std::optional<std::string_view> asset_version;
};

// Checks `text` (RFC 8259, UTF-8, numbers within a double's range, an
// optional byte order mark) with containers nested at most `max_depth` deep.
JsonScan scan_json(std::string_view text, std::size_t max_depth);

// Line and column (from 1, the column in bytes) of `offset` in `text`:
// "line 3, column 7".
std::string line_and_column(std::string_view text, std::size_t offset);

} // namespace facetor
