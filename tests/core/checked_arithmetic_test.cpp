#include "core/checked_arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

#include "support/lesson.h"

namespace reVoziz {
namespace {

using testing::failureOf;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(CheckedArithmetic, FitsUpToBothEndsOfThe32BitRange) {
  EXPECT_EQ(checkedAdd(kMax - 5, 5), kMax);
  EXPECT_EQ(checkedAdd(kMin + 5, -5), kMin);
  EXPECT_EQ(checkedAdd(kMax, kMin), -1);
  EXPECT_EQ(checkedSub(kMin + 5, 5), kMin);
  EXPECT_EQ(checkedSub(kMax - 5, -5), kMax);
  EXPECT_EQ(checkedSub(-1, kMax), kMin);
}

TEST(CheckedArithmetic, OneBeyondEitherEndFailsWithOverflow) {
  const std::pair<std::int32_t, std::int32_t> beyond[] = {{kMax, 1}, {kMin, -1}, {kMax, kMax},
                                                          {kMin, kMin}};
  for (const auto& [a, b] : beyond) {
    EXPECT_EQ(failureOf([&] { checkedAdd(a, b); }), ErrorCode::Overflow) << a << " + " << b;
    // a - (-b) is a + b, except that -kMin itself does not fit.
    if (b != kMin) {
      EXPECT_EQ(failureOf([&] { checkedSub(a, -b); }), ErrorCode::Overflow) << a << " - " << -b;
    }
  }
  EXPECT_EQ(failureOf([] { checkedSub(0, kMin); }), ErrorCode::Overflow);
  EXPECT_EQ(failureOf([] { checkedSub(kMax, kMin); }), ErrorCode::Overflow);
}

}  // namespace
}  // namespace reVoziz
