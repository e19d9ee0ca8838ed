#include "control/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "control/error.h"

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

}  // namespace
}  // namespace reVoziz
