#pragma once
// A small automation variant: what crosses the host boundary.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace reVoziz {

class Object;

// The host's "no object" answer, as opposed to an empty (never set) value.
struct Null {
  bool operator==(const Null&) const = default;
};

class Value {
 public:
  Value() = default;
  Value(Null) : kind_(Kind::Null) {}
  Value(bool b) : kind_(Kind::Bool), number_(b ? 1 : 0) {}
  Value(std::int32_t i) : kind_(Kind::Int), number_(i) {}
  Value(double d) : kind_(Kind::Double), number_(d) {}
  Value(std::string s) : kind_(Kind::String), text_(std::move(s)) {}
  Value(std::string_view s) : kind_(Kind::String), text_(s) {}
  Value(const char* s) : kind_(Kind::String), text_(s) {}
  Value(std::shared_ptr<Object> o);

  bool isEmpty() const { return kind_ == Kind::Empty; }
  bool isNull() const { return kind_ == Kind::Null; }
  bool isBool() const { return kind_ == Kind::Bool; }
  bool isInt() const { return kind_ == Kind::Int; }
  bool isDouble() const { return kind_ == Kind::Double; }
  bool isString() const { return kind_ == Kind::String; }
  bool isObject() const { return kind_ == Kind::Object; }
  bool isNumber() const { return isInt() || isDouble(); }

  // Coercions as an automation caller sees them; each throws TypeMismatch for a
  // value it cannot convert (Null to text, an object to a number...).
  std::string toText() const;
  double toNumber() const;
  std::int32_t toInt32() const;  // rounds halves to even; throws Overflow
  bool toBool() const;
  // Null or empty give no object; anything else that is not an object throws.
  std::shared_ptr<Object> toObject() const;

  bool operator==(const Value& other) const;

 private:
  // Plain members rather than a std::variant: copying and destroying a value
  // then makes no call through a table of functions, which in the browser
  // build would cost a trip out of the module whenever a failure could pass.
  enum class Kind : std::uint8_t { Empty, Null, Bool, Int, Double, String, Object };
  Kind kind_ = Kind::Empty;
  double number_ = 0;  // a Boolean as 1 or 0, an integer exactly
  std::string text_;
  std::shared_ptr<Object> object_;
};

}  // namespace reVoziz
