#include "core/time_code.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "core/error.h"
#include "control/tq.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using testing::failureOf;

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct TimeCase {
  const char* text;
  std::int32_t seconds;
};

TEST(TimeToSeconds, ReadsFieldsWithTheLeadingNumberRule) {
  const TimeCase cases[] = {
      // Field counts: none or four and more give 0; fields read from the right.
      {"", 0}, {"75", 75}, {"1:15", 75}, {"0:01:15", 75}, {"01:02:03", 3723}, {"2:3", 123},
      {":", 0}, {"1:", 60}, {"::5", 5}, {"1:2:3:4", 0}, {"1:::", 0},
      // Signs never subtract.
      {"-3", 3}, {"+7", 7}, {"-1:30", 90}, {"1:-30", 90}, {"-1:-1:-1", 3661},
      // Decimals, with "." only.
      {"2.5x", 2}, {"1,5", 1}, {".5", 0}, {"1.5.9", 2}, {"1:30.5", 90}, {"1:31.5", 92},
      // Exponents: E or D, either case, optional sign; an incomplete one is trailing text.
      {"1e3", 1000}, {"1E3", 1000}, {"1d2", 100}, {"1D+2", 100}, {"15e-1", 2}, {"25E-1", 2},
      {"1e", 1}, {"1e+", 1}, {"e3", 0}, {"1e-400", 0},
      // Hexadecimal and octal integers.
      {"&H1F", 31}, {"&hff", 255}, {"&O17", 15}, {"&o8", 0}, {"&HG", 0}, {"&h10:&o10", 968},
      // Spaces, tabs and line feeds are dropped wherever they stand.
      {" 1 5", 15}, {"\t1\n2", 12}, {" 1 : 2 ", 62}, {"1\t:\n0 0", 60},
      // Trailing text and text without a number.
      {"10 min", 10}, {"12abc:3", 723}, {"abc", 0}, {"-", 0}, {"x:1", 1},
      // Halves to the even neighbour.
      {"0:1.5", 2}, {"0:2.5", 2}, {"90.5", 90}, {"91.5", 92}, {"0.5", 0},
      // The ends of the 32-bit range.
      {"2147483647", kMax}, {"596523:14:07", kMax}, {"2147483646.5", 2147483646},
  };
  for (const TimeCase& c : cases) {
    EXPECT_EQ(timeToSeconds(c.text), c.seconds) << '"' << c.text << '"';
  }
}

TEST(TimeToSeconds, TotalsBeyond32BitsRaiseOverflow) {
  const char* const cases[] = {"99999999:0:0", "596523:14:08", "2147483647.5",
                               "1e400",        "1e308:0:0",    "&H100000000"};
  for (const char* text : cases) {
    try {
      timeToSeconds(text);
      ADD_FAILURE() << '"' << text << "\" did not fail";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::Overflow) << text;
    }
  }
}

TEST(TimeToSeconds, NumbersBeyondARealAreJudgedByTheirValueNotTheirSpelling) {
  // Below the smallest real: 0, however the exponent or the zeros are written.
  const std::string tinyByZeros = "0." + std::string(400, '0') + "1";
  const std::string tinyCases[] = {"1E-400", "-1E-400", "1d-400", "1:1D-400", tinyByZeros,
                                   "0:0:" + tinyByZeros + "e5", "1e-99999999999999999999"};
  const std::int32_t tinyResults[] = {0, 0, 0, 60, 0, 0, 0};
  for (std::size_t i = 0; i < std::size(tinyCases); ++i) {
    EXPECT_EQ(timeToSeconds(tinyCases[i]), tinyResults[i]) << tinyCases[i];
  }
  // Beyond the largest real, even with a negative exponent: 1e399 and 1e600.
  const std::string hugeCases[] = {"1" + std::string(400, '0') + "e-1",
                                   "1" + std::string(700, '0') + "E-100", "-1E400",
                                   "0." + std::string(20, '0') + "1e400"};
  for (const std::string& text : hugeCases) {
    EXPECT_EQ(failureOf([&] { timeToSeconds(text); }), ErrorCode::Overflow) << text;
  }
}

TEST(LeadingNumber, LongHexadecimalAndOctalIntegersRoundToTheNearestReal) {
  const double two53 = 9007199254740992.0;  // 2^53, beyond which not every integer is a real
  const std::pair<const char*, double> cases[] = {
      {"&H20000000000001", two53},                // a tie goes to the even neighbour
      {"&H20000000000003", two53 + 4},            // ... upwards too
      {"&H200000000000018", two53 * 16 + 32},     // the last digit decides, not the first rounding
      {"&O400000000000000001", two53},            // octal: 2^53 + 1
      {"&O4000000000000000030", two53 * 8 + 32},  // 2^56 + 24 rounds up to 2^56 + 32
      {"&H0000000000000000000000000000000001F", 31},
      {"&hFFFFFFFF", 4294967295.0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(leadingNumber(text), value) << text;
  EXPECT_EQ(leadingNumber("&H" + std::string(300, 'F')), std::numeric_limits<double>::infinity());
}

TEST(SecondsToTime, WritesAtLeastTwoDigitsPerFieldOfTheAbsoluteValue) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "00:00:00"},         {59, "00:00:59"},        {75, "00:01:15"},
      {3599, "00:59:59"},      {3725, "01:02:05"},      {-61, "00:01:01"},
      {360000, "100:00:00"},   {kMax, "596523:14:07"},  {kMin + 1, "596523:14:07"},
  };
  for (const auto& [seconds, text] : cases) EXPECT_EQ(secondsToTime(seconds), text) << seconds;
  EXPECT_EQ(secondsToTime(timeToSeconds("2:3")), "00:02:03");
}

TEST(SecondsToTime, TheMostNegativeValueRaisesOverflow) {
  try {
    secondsToTime(kMin);
    ADD_FAILURE() << "no overflow";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::Overflow);
  }
}

TEST(MinMax, PickTheSmallerAndTheLarger) {
  pagemodel::ManualClock clock;
  pagemodel::ModelPlatform platform(clock);
  const tq control(platform);
  struct Case {
    std::int32_t a, b, min, max;
  };
  const Case cases[] = {{3, 3, 3, 3}, {-1, 2, -1, 2}, {2, -1, -1, 2}, {kMin, kMax, kMin, kMax}};
  for (const Case& c : cases) {
    EXPECT_EQ(control.min(c.a, c.b), c.min) << c.a << ' ' << c.b;
    EXPECT_EQ(control.max(c.a, c.b), c.max) << c.a << ' ' << c.b;
  }
}

}  // namespace
}  // namespace reVoziz
