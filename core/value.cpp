#include "core/value.h"

#include <algorithm>
#include <cmath>

#include "core/decimal.h"
#include "core/error.h"
#include "core/object.h"
#include "core/rounding.h"
#include "core/text.h"

namespace reVoziz {
namespace {

[[noreturn]] void typeMismatch() { throw Error(ErrorCode::TypeMismatch, "Type mismatch"); }

std::string numberText(double d) {
  if (d == 0) return "0";  // also for -0
  return writeDecimal(d);
}

bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimWhite(std::string_view t) {
  while (!t.empty() && isWhite(t.front())) t.remove_prefix(1);
  while (!t.empty() && isWhite(t.back())) t.remove_suffix(1);
  return t;
}

// "&H" and "&O" integers: hexadecimal or octal digits to the end.
double parseRadixInteger(std::string_view digits, bool hex) {
  const auto valid = [hex](char c) { return hex ? isHexDigit(c) : c >= '0' && c <= '7'; };
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), valid)) typeMismatch();
  return hex ? readHexInteger(digits) : readOctalInteger(digits);
}

// Digits with "," between them in the whole part, as the neutral locale
// writes thousands; then an optional fraction and exponent, to the end.
double parseDecimal(std::string_view t) {
  if (t.empty() || !(t.front() == '.' || (t.front() >= '0' && t.front() <= '9'))) typeMismatch();
  std::string plain;
  std::size_t i = 0;
  for (; i < t.size() && ((t[i] >= '0' && t[i] <= '9') || t[i] == ','); ++i) {
    if (t[i] != ',') plain += t[i];
  }
  plain.append(t.substr(i));
  // from_chars reads "nan" and "inf" too, which the first character ruled out.
  double d = 0;
  auto [end, ec] = readDecimal(plain.data(), plain.data() + plain.size(), d);
  if (ec != std::errc() || end != plain.data() + plain.size()) typeMismatch();
  return d;
}

// A whole text read as a number the way automation converts text (in the
// neutral locale): white space around it; one sign before or after it, or
// parentheses for a negative; thousands separators; "&H" and "&O" integers.
double parseAutomationNumber(const std::string& s) {
  std::string_view t = trimWhite(s);
  bool negative = false;
  if (t.size() >= 2 && t.front() == '(' && t.back() == ')') {
    negative = true;
    t = t.substr(1, t.size() - 2);
  } else if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
    negative = t.front() == '-';
    t.remove_prefix(1);
  } else if (!t.empty() && (t.back() == '+' || t.back() == '-')) {
    negative = t.back() == '-';
    t.remove_suffix(1);
  }
  double d = 0;
  if (t.size() >= 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h')) {
    d = parseRadixInteger(t.substr(2), true);
  } else if (t.size() >= 2 && t[0] == '&' && (t[1] == 'O' || t[1] == 'o')) {
    d = parseRadixInteger(t.substr(2), false);
  } else {
    d = parseDecimal(t);
  }
  return negative ? -d : d;
}

}  // namespace

Value::Value(std::shared_ptr<Object> o) : kind_(o ? Kind::Object : Kind::Null), object_(std::move(o)) {}

std::string Value::toText() const {
  switch (kind_) {
    case Kind::Empty: return {};
    case Kind::Bool: return number_ != 0 ? "True" : "False";
    case Kind::Int: return std::to_string(static_cast<std::int32_t>(number_));
    case Kind::Double: return numberText(number_);
    case Kind::String: return text_;
    case Kind::Null:
    case Kind::Object: break;
  }
  typeMismatch();
}

double Value::toNumber() const {
  switch (kind_) {
    case Kind::Empty: return 0;
    case Kind::Bool: return number_ != 0 ? -1 : 0;
    case Kind::Int:
    case Kind::Double: return number_;
    case Kind::String: return parseAutomationNumber(text_);
    case Kind::Null:
    case Kind::Object: break;
  }
  typeMismatch();
}

std::int32_t Value::toInt32() const {
  if (isInt()) return static_cast<std::int32_t>(number_);
  return toInt32HalfEven(toNumber());
}

bool Value::toBool() const {
  if (isBool()) return number_ != 0;
  if (isString()) {
    const std::string lower = lowerCase(trimSpaces(text_));
    if (lower == "true") return true;
    if (lower == "false") return false;
  }
  return toNumber() != 0;
}

std::shared_ptr<Object> Value::toObject() const {
  if (isObject()) return object_;
  if (isNull() || isEmpty()) return nullptr;
  typeMismatch();
}

bool Value::operator==(const Value& other) const {
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case Kind::Empty:
    case Kind::Null: return true;
    case Kind::Bool:
    case Kind::Int:
    case Kind::Double: return number_ == other.number_;
    case Kind::String: return text_ == other.text_;
    case Kind::Object: return object_->sameAs(*other.object_);
  }
  return false;
}

}  // namespace reVoziz
