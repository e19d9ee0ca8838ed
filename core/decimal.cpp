#include "core/decimal.h"

#include <cerrno>
#include <cmath>
#include <clocale>
#include <cstdio>
#include <cstdlib>

namespace reVoziz {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

const char* skipDigits(const char* p, const char* last) {
  while (p != last && isDigit(*p)) ++p;
  return p;
}

// strtod and snprintf follow the C locale's decimal point; only the "C"
// locale's "." is wanted.
bool pointIsDot() { return *std::localeconv()->decimal_point == '.'; }

}  // namespace

std::from_chars_result readDecimalPortable(const char* first, const char* last, double& value) {
  // Delimit the number first, so that strtod sees nothing it would read
  // beyond what from_chars reads.
  const char* p = first;
  if (p != last && *p == '-') ++p;
  const char* digitsStart = p;
  p = skipDigits(p, last);
  bool anyDigit = p != digitsStart;
  if (p != last && *p == '.') {
    const char* fraction = p + 1;
    p = skipDigits(fraction, last);
    anyDigit = anyDigit || p != fraction;
  }
  if (!anyDigit || !pointIsDot()) return {first, std::errc::invalid_argument};
  if (p != last && (*p == 'e' || *p == 'E')) {
    const char* e = p + 1;
    if (e != last && (*e == '+' || *e == '-')) ++e;
    const char* exponentEnd = skipDigits(e, last);
    if (exponentEnd != e) p = exponentEnd;
  }
  const std::string number(first, p);
  errno = 0;
  const double read = std::strtod(number.c_str(), nullptr);
  // strtod flags subnormal results too, which from_chars reads as values.
  if (errno == ERANGE && (read == 0 || std::isinf(read))) return {p, std::errc::result_out_of_range};
  value = read;
  return {p, std::errc()};
}

std::string writeDecimalPortable(double value) {
  char buf[32];
  for (int precision = 1; precision < 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*g", precision, value);
    if (std::strtod(buf, nullptr) == value) return buf;
  }
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return buf;
}

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L

std::from_chars_result readDecimal(const char* first, const char* last, double& value) {
  return std::from_chars(first, last, value);
}

std::string writeDecimal(double value) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, end);
}

#else

std::from_chars_result readDecimal(const char* first, const char* last, double& value) {
  return readDecimalPortable(first, last, value);
}

std::string writeDecimal(double value) { return writeDecimalPortable(value); }

#endif

}  // namespace reVoziz
