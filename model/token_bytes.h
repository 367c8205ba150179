#pragma once
// What the 3DO reader takes as one token: the bytes that end a token and
// the longest token it reads. The tokenizer, the writer and the names the
// glTF import makes all follow this one rule.
#include <cstddef>

namespace facetor {

// Skipped between tokens.
constexpr bool separates_tokens(unsigned char c)
{
    return c == ' ' || c == ',' || c == ':' || c == '\t';
}

// A carriage return or "#" ends the token and the rest of its line with it
// (a line end, or a comment).
constexpr bool ends_line(unsigned char c)
{
    return c == '\r' || c == '#';
}

// A line feed is no such byte: it belongs to the token it stands in.
constexpr bool ends_token(unsigned char c)
{
    return separates_tokens(c) || ends_line(c);
}

// The longest token read: far beyond any name or number of a model.
inline constexpr std::size_t k_max_token = std::size_t{16} << 20;

} // namespace facetor
