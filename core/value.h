#pragma once
// A small automation variant: what crosses the host boundary.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace reVoziz {

class Object;

// The host's "no object" answer, as opposed to an empty (never set) value.
struct Null {
  bool operator==(const Null&) const = default;
};

class Value {
 public:
  Value() = default;
  Value(Null) : v_(Null{}) {}
  Value(bool b) : v_(b) {}
  Value(std::int32_t i) : v_(i) {}
  Value(double d) : v_(d) {}
  Value(std::string s) : v_(std::move(s)) {}
  Value(std::string_view s) : v_(std::string(s)) {}
  Value(const char* s) : v_(std::string(s)) {}
  Value(std::shared_ptr<Object> o);

  bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
  bool isNull() const { return std::holds_alternative<Null>(v_); }
  bool isBool() const { return std::holds_alternative<bool>(v_); }
  bool isInt() const { return std::holds_alternative<std::int32_t>(v_); }
  bool isDouble() const { return std::holds_alternative<double>(v_); }
  bool isString() const { return std::holds_alternative<std::string>(v_); }
  bool isObject() const { return std::holds_alternative<std::shared_ptr<Object>>(v_); }
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
  std::variant<std::monostate, Null, bool, std::int32_t, double, std::string,
               std::shared_ptr<Object>>
      v_;
};

}  // namespace reVoziz
