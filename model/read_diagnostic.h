#pragma once
// Where a model load stopped and why, in the words every tool shows: the
// command line's check ("dflt.3do:38:10: ERROR: expected an integer") and
// the editor's error box ("dflt.3do:38:10: expected an integer").
#include <cstdint>
#include <exception>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace facetor {

struct LineColumn {
    std::uint64_t line = 1;   // from 1; a line ends at its line feed
    std::uint64_t column = 1; // from 1, in bytes
};

// Where each of `offsets` (ascending) lies in the bytes of `in`, read once
// from where it stands. Lines are counted only after a load has failed, so
// the load itself keeps no line numbers.
std::vector<LineColumn> line_columns_in(std::istream& in,
                                        const std::vector<std::uint64_t>& offsets);

// "NAME:LINE:COLUMN"
std::string place_text(const std::string& name, const LineColumn& at);

// The system's words for an error number ("No such file or directory").
std::string system_error_text(int code);

struct ReadDiagnostic {
    // The byte offset of the token the load stopped at, for a format or
    // range error: what the file held up to there was stored.
    std::optional<std::uint64_t> offset;
    // What was wrong there: "expected an integer", "vertex_count 501
    // outside 0..500"; for a file error, the system's words. Empty for an
    // error of another kind.
    std::string detail;
};

// What the reader's error `e` says beyond its own text ("ERROR", "Range
// check error", "File not found", "I/O error 21").
ReadDiagnostic diagnose_read_error(const std::exception& e);

// The error's second line, naming the file read as `name`: "NAME:LINE:COLUMN:
// DETAIL" where the load stopped inside the file, else "NAME: DETAIL"; empty
// when there is no detail to give. Reads the file again to count its lines.
std::string read_error_line(const std::string& name, const std::exception& e);

} // namespace facetor
