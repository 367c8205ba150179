#pragma once
// How the property grids write numbers.
#include <cstdint>
#include <string>

namespace facetor {

// Plain decimal: no leading zeros, no grouping, a minus sign when negative.
std::string integer_text(std::int64_t value);

// A real as the grids show it: rounded to 15 significant digits, trailing
// zeros dropped, no separator for whole values, `decimal_point` between the
// whole and the fractional part. Magnitudes from 1E-5 up to below 1E15 are
// written out in full; smaller and larger ones as a mantissa and a power of
// ten ("1,5E-7", "1E20"). Zero of either sign is "0"; NaN and infinities show
// as "NAN", "INF" and "-INF".
std::string real_text(double value, char decimal_point);

} // namespace facetor
