#pragma once
// 32-bit integer arithmetic that raises the overflow error instead of wrapping.
#include <cmath>
#include <cstdint>

#include "model/errors.h"

namespace facetor {

inline std::int32_t checked_add(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_add_overflow(a, b, &r)) {
        throw OverflowError();
    }
    return r;
}

inline std::int32_t checked_sub(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_sub_overflow(a, b, &r)) {
        throw OverflowError();
    }
    return r;
}

inline std::int32_t checked_mul(std::int32_t a, std::int32_t b)
{
    std::int32_t r;
    if (__builtin_mul_overflow(a, b, &r)) {
        throw OverflowError();
    }
    return r;
}

// Rounds half to even into a signed 32-bit integer; a value that does not
// fit (or NaN) is an invalid floating-point operation.
inline std::int32_t round_to_int32(double v)
{
    const double r = std::nearbyint(v); // default rounding mode: half to even
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) {
        throw InvalidFloatError();
    }
    return static_cast<std::int32_t>(r);
}

} // namespace facetor
