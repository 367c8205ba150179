#pragma once
// Names from a glTF made fit for a 3DO file: 8-bit text that the reader
// takes back as one token.
#include <string>
#include <string_view>

namespace facetor {

// UTF-8 text as the model's 8-bit text, the inverse of the export's
// mapping: characters up to U+00FF become their byte, any other character
// or broken sequence "_". A byte that would end a token or start a comment
// (space, tab, comma, colon, "#", control characters) also becomes "_", so
// the reader reads the name back whole. Empty stays empty.
std::string format_safe_name(std::string_view utf8);

// A MAT file name for a material whose texture or own name is `base`
// (already safe): `base` itself when it ends in ".mat" (any case), else
// `base` without a usual image extension, plus ".mat".
std::string mat_file_name(const std::string& base);

} // namespace facetor
