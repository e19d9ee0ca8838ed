#pragma once
// Whole numbers from reals: to the nearest integer, halves to the even
// neighbour (12.5 gives 12, 13.5 gives 14). One rule for the whole library.

#include <cstdint>

namespace reVoziz {

double roundHalfEven(double x);

// roundHalfEven, then into 32 bits; throws Error(Overflow) when it does not fit
// or when x is not finite.
std::int32_t toInt32HalfEven(double x);

}  // namespace reVoziz
