#include "control/rounding.h"

#include <cmath>
#include <limits>

#include "control/error.h"

namespace reVoziz {

double roundHalfEven(double x) { return std::nearbyint(x); }

std::int32_t toInt32HalfEven(double x) {
  const double r = roundHalfEven(x);
  if (!std::isfinite(r) || r < std::numeric_limits<std::int32_t>::min() ||
      r > std::numeric_limits<std::int32_t>::max()) {
    throw Error(ErrorCode::Overflow, "Overflow");
  }
  return static_cast<std::int32_t>(r);
}

}  // namespace reVoziz
