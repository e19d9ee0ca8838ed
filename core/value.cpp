#include "core/value.h"

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

// A whole text that is a decimal number, spaces around allowed.
double parseStrictNumber(const std::string& s) {
  const std::string t = trimSpaces(s);
  if (t.empty()) typeMismatch();
  double d = 0;
  const char* first = t.data();
  const char* last = t.data() + t.size();
  const bool plus = *first == '+';
  if (plus) ++first;  // from_chars takes no plus
  // from_chars also reads "nan" and "inf", and would take "+-5" after the
  // skipped plus; a number starts with digits or a point after one sign.
  const char* body = (!plus && *first == '-') ? first + 1 : first;
  if (body == last || !(*body == '.' || (*body >= '0' && *body <= '9'))) typeMismatch();
  auto [end, ec] = readDecimal(first, last, d);
  if (ec != std::errc() || end != last) typeMismatch();
  return d;
}

}  // namespace

Value::Value(std::shared_ptr<Object> o) {
  if (o) {
    v_ = std::move(o);
  } else {
    v_ = Null{};
  }
}

std::string Value::toText() const {
  struct {
    std::string operator()(std::monostate) const { return {}; }
    std::string operator()(Null) const { typeMismatch(); }
    std::string operator()(bool b) const { return b ? "True" : "False"; }
    std::string operator()(std::int32_t i) const { return std::to_string(i); }
    std::string operator()(double d) const { return numberText(d); }
    std::string operator()(const std::string& s) const { return s; }
    std::string operator()(const std::shared_ptr<Object>&) const { typeMismatch(); }
  } visitor;
  return std::visit(visitor, v_);
}

double Value::toNumber() const {
  struct {
    double operator()(std::monostate) const { return 0; }
    double operator()(Null) const { typeMismatch(); }
    double operator()(bool b) const { return b ? -1 : 0; }
    double operator()(std::int32_t i) const { return i; }
    double operator()(double d) const { return d; }
    double operator()(const std::string& s) const { return parseStrictNumber(s); }
    double operator()(const std::shared_ptr<Object>&) const { typeMismatch(); }
  } visitor;
  return std::visit(visitor, v_);
}

std::int32_t Value::toInt32() const {
  if (isInt()) return std::get<std::int32_t>(v_);
  return toInt32HalfEven(toNumber());
}

bool Value::toBool() const {
  if (isBool()) return std::get<bool>(v_);
  if (isString()) {
    const std::string lower = lowerCase(trimSpaces(std::get<std::string>(v_)));
    if (lower == "true") return true;
    if (lower == "false") return false;
  }
  return toNumber() != 0;
}

std::shared_ptr<Object> Value::toObject() const {
  if (isObject()) return std::get<std::shared_ptr<Object>>(v_);
  if (isNull() || isEmpty()) return nullptr;
  typeMismatch();
}

bool Value::operator==(const Value& other) const {
  if (isObject() && other.isObject()) {
    return toObject()->sameAs(*other.toObject());
  }
  return v_ == other.v_;
}

}  // namespace reVoziz
