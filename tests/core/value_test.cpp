#include "core/value.h"

#include <gtest/gtest.h>

#include "core/error.h"

namespace reVoziz {
namespace {

TEST(ValueToNumber, ReadsTextAsAutomationConvertsIt) {
  const std::pair<const char*, double> cases[] = {
      {"12", 12},         {" 12.5 ", 12.5},     {"+7", 7},       {"-0.25", -0.25}, {"1e3", 1000},
      {".5", 0.5},        {"\t1\n", 1},         {"&H10", 16},    {"&hff", 255},    {"&O17", 15},
      {"&HFFFF", 65535},  {"1,000", 1000},      {"1,000.5", 1000.5}, {"(5)", -5},  {"5-", -5}};
  for (const auto& [text, number] : cases) EXPECT_EQ(Value(text).toNumber(), number) << text;
}

TEST(ValueToNumber, TextThatIsNoNumberIsATypeMismatch) {
  const char* const cases[] = {"", "  ", "12px", "nan", "inf", "-Infinity", "+-5", "&H", "&HG", "&O8",
                               "0x10", "1 2", "-", "()", ",5", "1.2.3", "1e"};
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
