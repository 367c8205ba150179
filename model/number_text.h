#pragma once
// Numbers as text, written straight into a caller's buffer: integers, and
// the shortest text that reads back to the same double, the text
// std::to_chars gives, but quicker for the usual model number: a few
// decimals, as hand-made and exported files write them.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace facetor {

namespace detail {

// "00" to "99": two digits per division halves the divisions.
inline constexpr char k_digit_pairs[] = "00010203040506070809"
                                        "10111213141516171819"
                                        "20212223242526272829"
                                        "30313233343536373839"
                                        "40414243444546474849"
                                        "50515253545556575859"
                                        "60616263646566676869"
                                        "70717273747576777879"
                                        "80818283848586878889"
                                        "90919293949596979899";

inline void put_pair(char* out, std::uint32_t v)
{
    std::memcpy(out, k_digit_pairs + 2 * v, 2);
}

inline int decimal_length(std::uint32_t v)
{
    int n = 1;
    for (; v >= 10000; v /= 10000) {
        n += 4;
    }
    return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

} // namespace detail

// At least 10 bytes at `out`; returns the end of the text.
inline char* write_decimal(char* out, std::uint32_t v)
{
    char* const end = out + detail::decimal_length(v);
    char* p = end;
    while (v >= 100) {
        p -= 2;
        detail::put_pair(p, v % 100);
        v /= 100;
    }
    if (v >= 10) {
        detail::put_pair(p - 2, v);
    } else {
        p[-1] = static_cast<char>('0' + v);
    }
    return end;
}

// At least 20 bytes at `out`; returns the end of the text.
inline char* write_integer(char* out, long long v)
{
    constexpr long long k_widest = 0xFFFFFFFF;
    if (v >= -k_widest && v <= k_widest) {
        *out = '-';
        out += v < 0 ? 1 : 0;
        return write_decimal(out, static_cast<std::uint32_t>(v < 0 ? -v : v));
    }
    return std::to_chars(out, out + 20, v).ptr;
}

// At least 32 bytes at `out`; returns the end of the text. "-0", "inf",
// "-inf" and "nan" as std::to_chars writes them.
inline char* shortest_double(char* out, double v)
{
    // With at most six decimals and below 1e9 in size, v * 1e6 is an integer
    // to well within rounding, and dividing that integer by 1e6, correctly
    // rounded, gives v back exactly when v has such a form. No other number
    // of six decimals is within a rounding step of v, and none with more
    // decimals is as short, so the text is that integer with its trailing
    // zeros dropped.
    const double a = std::fabs(v);
    if (a >= 0.01 && a < 1e9) {
        const auto scaled = static_cast<std::uint64_t>(a * 1e6 + 0.5); // below 1e15: exact
        if (static_cast<double>(scaled) / 1e6 == a) {
            const auto whole = static_cast<std::uint32_t>(scaled / 1000000);
            const auto fraction = static_cast<std::uint32_t>(scaled % 1000000);
            // Whole numbers with trailing zeros ("1e+06") are shorter in
            // scientific form: leave those to the library.
            if (fraction != 0 || whole % 10 != 0 || whole < 10) {
                char* p = out;
                *p = '-';
                p += std::signbit(v) ? 1 : 0;
                p = write_decimal(p, whole);
                if (fraction == 0) {
                    return p;
                }
                *p = '.';
                detail::put_pair(p + 1, fraction / 10000);
                detail::put_pair(p + 3, fraction / 100 % 100);
                detail::put_pair(p + 5, fraction % 100);
                p += 7;
                while (p[-1] == '0') { // stops at the last digit, which is not 0
                    --p;
                }
                return p;
            }
        }
    }
    if (a == 0) { // the usual unset value
        *out = '-';
        out += std::signbit(v) ? 1 : 0;
        *out = '0';
        return out + 1;
    }
    return std::to_chars(out, out + 32, v).ptr;
}

} // namespace facetor
