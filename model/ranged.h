#pragma once
// Ranged integers: the range is checked where the value is stored, so a
// count, index or enumerated field can never hold a value outside it.
#include <concepts>
#include <cstdint>

#include "model/errors.h"

namespace facetor {

template <std::integral T, long long Lo, long long Hi> class ranged {
    static_assert(Lo <= 0 && 0 <= Hi, "zero is the initial value of every ranged field");

  public:
    using value_type = T;
    static constexpr long long min = Lo;
    static constexpr long long max = Hi;

    constexpr ranged() = default;
    constexpr ranged(long long v) : value_(checked(v)) {} // NOLINT: implicit on purpose

    constexpr ranged& operator=(long long v)
    {
        value_ = checked(v);
        return *this;
    }

    constexpr operator T() const { return value_; } // NOLINT: reads like the plain integer
    constexpr T get() const { return value_; }

    static constexpr bool admits(long long v) { return v >= Lo && v <= Hi; }

  private:
    static constexpr T checked(long long v)
    {
        if (!admits(v)) {
            throw RangeError();
        }
        return static_cast<T>(v);
    }

    T value_ = 0;
};

} // namespace facetor
