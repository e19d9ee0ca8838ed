#pragma once
// Whole numbers from reals: to the nearest integer, halves to the even
// neighbour (12.5 gives 12, 13.5 gives 14). One rule for the whole library.

#include <cstdint>

namespace reVoziz {

double roundHalfEven(double x);

// roundHalfEven, then into 32 bits; throws Error(Overflow) when it does not fit
// or when x is not finite.
std::int32_t toInt32HalfEven(double x);

// An interval of reals, each end open or closed.
struct RealSpan {
  double low;
  bool lowIncluded;
  double high;
  bool highIncluded;
  bool contains(double x) const {
    return (x > low || (lowIncluded && x == low)) && (x < high || (highIncluded && x == high));
  }
};

// The reals x for which from <= toInt32HalfEven(x) <= to (from <= to): the
// inverse of the rounding, so that a host can test a raw value against a span
// of whole numbers without rounding it again.
RealSpan realsRoundingInto(std::int32_t from, std::int32_t to);

}  // namespace reVoziz
