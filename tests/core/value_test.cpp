#include "core/value.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/object.h"

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

// Each kind of value as the automation caller sees it: its text, whether it
// counts as true, and which values it equals (only those of its own kind).
TEST(Value, EachKindConvertsAndComparesAsItsOwn) {
  struct Case {
    Value value;
    const char* text;  // nullptr: a type mismatch
    bool isTrue;
  };
  const Case cases[] = {
      {Value(), "", false},
      {Value(Null{}), nullptr, false},
      {Value(std::shared_ptr<Object>()), nullptr, false},  // no object is Null
      {Value(true), "True", true},
      {Value(false), "False", false},
      {Value(std::int32_t{-7}), "-7", true},
      {Value(2.5), "2.5", true},
      {Value(0.0), "0", false},
      {Value("tRUe"), "tRUe", true},
      {Value(std::string("0")), "0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(no text)");
    if (c.text) {
      EXPECT_EQ(c.value.toText(), c.text);
      EXPECT_EQ(c.value.toBool(), c.isTrue);
    } else {
      EXPECT_THROW(c.value.toText(), Error);
      EXPECT_EQ(c.value.toObject(), nullptr);
    }
    const Value copy = c.value;
    EXPECT_TRUE(copy == c.value);
  }
  EXPECT_FALSE(Value(std::int32_t{1}) == Value(1.0));
  EXPECT_FALSE(Value() == Value(Null{}));
  EXPECT_FALSE(Value(true) == Value(std::int32_t{1}));
  EXPECT_FALSE(Value("a") == Value("b"));
  EXPECT_TRUE(Value(Null{}) == Value(std::shared_ptr<Object>()));
  EXPECT_EQ(Value(2.5).toInt32(), 2);  // halves to even
  EXPECT_EQ(Value(true).toNumber(), -1);
  EXPECT_THROW(Value("x").toObject(), Error);
}

}  // namespace
}  // namespace reVoziz
