#include "gltf/format_names.h"

#include <array>

#include "model/token_bytes.h"

namespace facetor {

namespace {

bool ends_with_lower(const std::string& text, std::string_view suffix)
{
    if (text.size() < suffix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != suffix[i]) {
            return false;
        }
    }
    return true;
}

// The reader would cut the name at a byte that ends a token. Control
// characters it would keep, but a name from a glTF is shown in the grids
// and printed by the tools, where they do not belong: they become "_" too.
bool unsafe_in_name(unsigned char c)
{
    return ends_token(c) || c < 0x20 || c == 0x7F;
}

} // namespace

std::string format_safe_name(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        std::size_t length = 1;
        if (c >= 0x80) {
            // Only two-byte sequences can stand for U+0080..U+00FF; any
            // longer one is skipped whole, as one character.
            length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            bool whole = i + length <= utf8.size() && length > 1;
            for (std::size_t k = 1; whole && k < length; ++k) {
                whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
            }
            if (!whole) {
                length = 1;
                code = 0x100;
            } else if (length == 2) {
                code = (c & 0x1Fu) << 6 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            } else {
                code = 0x100;
            }
        }
        i += length;
        if (code > 0xFF || unsafe_in_name(static_cast<unsigned char>(code))) {
            out += '_';
        } else {
            out += static_cast<char>(code);
        }
    }
    return out;
}

std::string mat_file_name(const std::string& base)
{
    if (ends_with_lower(base, ".mat")) {
        return base;
    }
    static constexpr std::array<std::string_view, 8> k_image_extensions = {
        ".png", ".jpg", ".jpeg", ".bmp", ".tga", ".gif", ".webp", ".ktx2"};
    for (const std::string_view ext : k_image_extensions) {
        if (base.size() > ext.size() && ends_with_lower(base, ext)) {
            return base.substr(0, base.size() - ext.size()) + ".mat";
        }
    }
    return base + ".mat";
}

} // namespace facetor
