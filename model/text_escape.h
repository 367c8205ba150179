#pragma once
// Model texts are 8-bit bytes of any value: every tool that prints one
// escapes it the same way, so a terminal never sees a control byte.
#include <string>
#include <string_view>

namespace facetor {

// Printable ASCII kept, every other byte as \xNN (lower-case hex).
std::string printable(std::string_view text);

// In double quotes, with \" and \\ escaped besides: reads back unambiguously.
// (Not `quoted`: std::quoted would win it by argument lookup on a std::string.)
std::string quoted_text(std::string_view text);

} // namespace facetor
