#include "core/rounding.h"

#include <cmath>
#include <limits>

#include "core/error.h"

namespace reVoziz {

// Written out rather than left to the floating-point environment, whose
// rounding mode a host may have changed.
double roundHalfEven(double x) {
  const double below = std::floor(x);
  const double fraction = x - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1;
  return std::fmod(below, 2) == 0 ? below : below + 1;
}

std::int32_t toInt32HalfEven(double x) {
  const double r = roundHalfEven(x);
  if (!std::isfinite(r) || r < std::numeric_limits<std::int32_t>::min() ||
      r > std::numeric_limits<std::int32_t>::max()) {
    throw Error(ErrorCode::Overflow, "Overflow");
  }
  return static_cast<std::int32_t>(r);
}

RealSpan realsRoundingInto(std::int32_t from, std::int32_t to) {
  // A half rounds to its even neighbour, so a span's end half belongs to it
  // only when that end is even.
  const auto even = [](std::int32_t n) { return n % 2 == 0; };
  return {static_cast<double>(from) - 0.5, even(from), static_cast<double>(to) + 0.5, even(to)};
}

}  // namespace reVoziz
