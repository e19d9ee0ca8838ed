// The portable decimal reader and writer stand in for from_chars/to_chars
// where the standard library lacks them (the WebAssembly build); they must
// read and write what those do.

#include "core/decimal.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace reVoziz {
namespace {

struct Read {
  double value = -1;
  std::ptrdiff_t used = 0;
  std::errc ec{};
};

Read readWith(bool portable, std::string_view text) {
  Read r;
  const auto [end, ec] = portable ? readDecimalPortable(text.data(), text.data() + text.size(), r.value)
                                  : std::from_chars(text.data(), text.data() + text.size(), r.value);
  r.used = end - text.data();
  r.ec = ec;
  return r;
}

TEST(PortableDecimal, ReadsWhatFromCharsReads) {
  for (std::string_view text :
       {"12", "2.5x", "-3", ".5", "5.", "1e3", "1E-2", "1e", "1e+", "7e+2z", "0x10", "1,5", "-", ".",
        "", "abc", "00012.50", "1.5e308", "9e999", "1e-999", "-.25", "3.14159265358979323846",
        "4.9e-324", "--5", "1..2", "12e3.4"}) {
    const Read expected = readWith(false, text);
    const Read actual = readWith(true, text);
    EXPECT_EQ(actual.ec, expected.ec) << text;
    EXPECT_EQ(actual.used, expected.used) << text;
    if (expected.ec == std::errc()) {
      EXPECT_EQ(actual.value, expected.value) << text;
    }
  }
}

TEST(PortableDecimal, WritesTheShortestTextThatReadsBack) {
  for (double d : {0.5, 2.5, -3.0, 0.1, 1.0 / 3, 1e21, 1e-7, 123456789012.0, 1.7976931348623157e308,
                   4.9e-324, 90.5, 1e15, 12.0}) {
    const std::string portable = writeDecimalPortable(d);
    double back = 0;
    readDecimalPortable(portable.data(), portable.data() + portable.size(), back);
    EXPECT_EQ(back, d) << portable;
    EXPECT_EQ(portable.size(), writeDecimal(d).size()) << portable << " vs " << writeDecimal(d);
  }
  EXPECT_EQ(writeDecimalPortable(2.5), "2.5");
  EXPECT_EQ(writeDecimalPortable(-3), "-3");
}

}  // namespace
}  // namespace reVoziz
