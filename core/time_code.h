#pragma once
// TimeCode text ("01:02:05") and whole seconds.

#include <cstdint>
#include <string>
#include <string_view>

namespace reVoziz {

// Reads the number at the start of `text`: spaces, tabs and line feeds are
// dropped wherever they stand; then an optional sign, digits with at most one
// ".", and an optional exponent (E or D); or "&H"/"&O" and a hexadecimal or
// octal integer. Reading stops at the first character that cannot continue the
// number; text that does not start with one reads as 0.
double leadingNumber(std::string_view text);

// One to three fields separated by ":", read from the right as seconds,
// minutes and hours; any other count gives 0. Signs never subtract. Throws
// Error(Overflow) when the total does not fit 32 bits.
std::int32_t timeToSeconds(std::string_view time);

// "HH:MM:SS", each at least two digits, of |t|; throws Error(Overflow) for the
// one value without an absolute value in 32 bits.
std::string secondsToTime(std::int32_t t);

}  // namespace reVoziz
