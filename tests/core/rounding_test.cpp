#include "core/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <vector>

#include "core/error.h"

namespace reVoziz {
namespace {

TEST(ToInt32HalfEven, RoundsHalvesToTheEvenNeighbour) {
  const std::pair<double, std::int32_t> cases[] = {
      {12.5, 12},  {13.5, 14},   {12.49, 12}, {12.51, 13}, {0.5, 0},
      {-2.5, -2},  {-3.5, -4},   {-0.4, 0},   {2147483646.5, 2147483646},
      {-2147483648.0, std::numeric_limits<std::int32_t>::min()},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(toInt32HalfEven(in), out) << in;
}

TEST(ToInt32HalfEven, RaisesOverflowOutside32BitsAndForNonNumbers) {
  const double cases[] = {2147483647.5, -2147483649.0, 1e300, HUGE_VAL, -HUGE_VAL,
                          std::numeric_limits<double>::quiet_NaN()};
  for (double in : cases) {
    try {
      toInt32HalfEven(in);
      ADD_FAILURE() << in << " did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Overflow) << in;
    }
  }
}

// Whether x rounds into [from, to]; a value that cannot round does not.
bool roundsInto(double x, std::int32_t from, std::int32_t to) {
  try {
    const std::int32_t r = toInt32HalfEven(x);
    return from <= r && r <= to;
  } catch (const Error&) {
    return false;
  }
}

// The span of reals must hold exactly the values that round into the span of
// whole numbers: halves and their nearest neighbours at both ends, whatever
// their parity, the 32-bit bounds, and values that cannot round.
TEST(RealsRoundingInto, HoldsExactlyWhatRoundsIntoTheSpan) {
  constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  const std::pair<std::int32_t, std::int32_t> spans[] = {
      {12, 12}, {13, 13}, {12, 13}, {13, 14}, {-3, 4}, {-4, -3}, {0, 0},
      {lo, lo}, {lo, -1}, {hi, hi}, {0, hi},  {lo, hi}, {hi - 1, hi}, {lo, lo + 1},
  };
  std::vector<double> xs = {std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, -HUGE_VAL,
                            1e300, -1e300, 0.0, -0.0};
  for (const auto& [from, to] : spans) {
    for (const double end : {static_cast<double>(from), static_cast<double>(to)}) {
      for (const double offset : {-1.5, -1.0, -0.5, 0.0, 0.5, 1.0, 1.5}) {
        const double x = end + offset;
        xs.insert(xs.end(), {x, std::nextafter(x, -HUGE_VAL), std::nextafter(x, HUGE_VAL)});
      }
    }
  }
  for (const auto& [from, to] : spans) {
    const RealSpan span = realsRoundingInto(from, to);
    for (const double x : xs) {
      EXPECT_EQ(span.contains(x), roundsInto(x, from, to))
          << std::setprecision(17) << x << " in [" << from << ", " << to << "]";
    }
  }
}

}  // namespace
}  // namespace reVoziz
