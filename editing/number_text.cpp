#include "editing/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace facetor {

namespace {

constexpr int k_significant_digits = 15;
// Decimal exponents written out in full; outside this the mantissa form is used.
constexpr int k_lowest_fixed_exponent = -5;
constexpr int k_highest_fixed_exponent = k_significant_digits - 1;

struct Decimal {
    bool negative = false;
    std::string digits; // significant digits, no trailing zeros, at least one
    int exponent = 0;   // of the first digit
};

// Rounds to 15 significant digits with the C library, which rounds
// correctly, and splits the result into digits and exponent.
Decimal to_decimal(double value)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*e", k_significant_digits - 1, value);
    Decimal d;
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            d.digits += *p;
        }
    }
    d.exponent = static_cast<int>(std::strtol(p + 1, nullptr, 10));
    while (d.digits.size() > 1 && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    return d;
}

std::string fixed_text(const Decimal& d, char decimal_point)
{
    std::string out;
    if (d.exponent < 0) {
        out = "0";
        out += decimal_point;
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += d.digits;
        return out;
    }
    const auto whole = static_cast<std::size_t>(d.exponent) + 1;
    if (d.digits.size() <= whole) {
        out = d.digits;
        out.append(whole - d.digits.size(), '0');
        return out;
    }
    out = d.digits.substr(0, whole);
    out += decimal_point;
    out += d.digits.substr(whole);
    return out;
}

std::string mantissa_text(const Decimal& d, char decimal_point)
{
    std::string out = d.digits.substr(0, 1);
    if (d.digits.size() > 1) {
        out += decimal_point;
        out += d.digits.substr(1);
    }
    out += 'E';
    out += std::to_string(d.exponent);
    return out;
}

} // namespace

std::string integer_text(std::int64_t value)
{
    return std::to_string(value);
}

std::string real_text(double value, char decimal_point)
{
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0) {
        return "0";
    }
    const Decimal d = to_decimal(value);
    const bool fixed =
        d.exponent >= k_lowest_fixed_exponent && d.exponent <= k_highest_fixed_exponent;
    std::string body = fixed ? fixed_text(d, decimal_point) : mantissa_text(d, decimal_point);
    return d.negative ? "-" + body : body;
}

} // namespace facetor
