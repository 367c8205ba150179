#include "model/text_escape.h"

namespace facetor {

namespace {

void append_escaped(std::string& out, std::string_view text, bool quote_marks)
{
    static constexpr char k_hex[] = "0123456789abcdef";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (quote_marks && (ch == '"' || ch == '\\')) {
            out += '\\';
            out += ch;
        } else if (c >= 0x20 && c < 0x7F) {
            out += ch;
        } else {
            out += "\\x";
            out += k_hex[c >> 4];
            out += k_hex[c & 0xF];
        }
    }
}

} // namespace

std::string printable(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    append_escaped(out, text, false);
    return out;
}

std::string quoted_text(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    append_escaped(out, text, true);
    out += '"';
    return out;
}

} // namespace facetor
