#pragma once
// The shortest text that reads back to the same double, the text
// std::to_chars gives, but quicker for the usual model number: a few
// decimals, as hand-made and exported files write them.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace facetor {

// At least 32 bytes at `out`; returns the end of the text. "-0", "inf",
// "-inf" and "nan" as std::to_chars writes them.
inline char* shortest_double(char* out, double v)
{
    // With at most six decimals and below 1e9 in size, v * 1e6 is an integer
    // to well within rounding, and dividing that integer by 1e6, correctly
    // rounded, gives v back exactly when v has such a form. The text is then
    // that integer with its trailing zeros dropped.
    const double a = std::fabs(v);
    if (a >= 0.01 && a < 1e9) {
        auto digits = static_cast<std::uint64_t>(a * 1e6 + 0.5); // below 1e15: exact
        if (static_cast<double>(digits) / 1e6 == a) {
            int decimals = 6;
            while (decimals > 0 && digits % 10 == 0) {
                digits /= 10;
                --decimals;
            }
            // Whole numbers with trailing zeros ("1e+06") are shorter in
            // scientific form: leave those to the library.
            if (decimals > 0 || digits % 10 != 0 || digits < 10) {
                char text[24];
                char* end = std::to_chars(text, text + sizeof text, digits).ptr;
                const int length = static_cast<int>(end - text);
                char* p = out;
                if (std::signbit(v)) {
                    *p++ = '-';
                }
                if (length <= decimals) {
                    *p++ = '0';
                    *p++ = '.';
                    for (int i = length; i < decimals; ++i) {
                        *p++ = '0';
                    }
                    std::memcpy(p, text, static_cast<std::size_t>(length));
                    return p + length;
                }
                const int whole = length - decimals;
                std::memcpy(p, text, static_cast<std::size_t>(whole));
                p += whole;
                if (decimals > 0) {
                    *p++ = '.';
                    std::memcpy(p, text + whole, static_cast<std::size_t>(decimals));
                    p += decimals;
                }
                return p;
            }
        }
    }
    return std::to_chars(out, out + 32, v).ptr;
}

} // namespace facetor
