#include "core/value.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace reVoziz {
namespace {

TEST(ValueToNumber, ReadsDecimalTextWithSpacesAround) {
  const std::pair<const char*, double> cases[] = {
      {"12", 12}, {" 12.5 ", 12.5}, {"+7", 7}, {"-0.25", -0.25}, {"1e3", 1000}, {".5", 0.5}};
  for (const auto& [text, number] : cases) EXPECT_EQ(Value(text).toNumber(), number) << text;
}

TEST(ValueToNumber, TextThatIsNoDecimalNumberIsATypeMismatch) {
  const char* const cases[] = {"", "  ", "12px", "1,5", "nan", "inf", "-Infinity", "+-5", "\t1"};
  for (const char* text : cases) {
    try {
      const double number = Value(text).toNumber();
      ADD_FAILURE() << '"' << text << "\" read as " << number;
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::TypeMismatch) << text;
    }
  }
}

}  // namespace
}  // namespace reVoziz
