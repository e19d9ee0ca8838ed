#pragma once
// Sums and differences of 32-bit page numbers (offsets, sizes, seconds). A
// result that does not fit fails with Overflow, where plain int32_t arithmetic
// would be undefined. Reals become 32-bit numbers through toInt32HalfEven
// (rounding.h), which fails the same way.

#include <cstdint>
#include <limits>

#include "core/error.h"

namespace reVoziz {

namespace detail {
inline std::int32_t fitInt32(std::int64_t v) {
  if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) {
    throw Error(ErrorCode::Overflow, "Overflow");
  }
  return static_cast<std::int32_t>(v);
}
}  // namespace detail

inline std::int32_t checkedAdd(std::int32_t a, std::int32_t b) {
  return detail::fitInt32(std::int64_t{a} + b);
}

inline std::int32_t checkedSub(std::int32_t a, std::int32_t b) {
  return detail::fitInt32(std::int64_t{a} - b);
}

}  // namespace reVoziz
