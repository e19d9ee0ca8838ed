#include "core/decimal.h"

#include <bit>
#include <cerrno>
#include <cmath>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

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

bool isHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Written out: not every standard library reads reals with from_chars.
double readHexInteger(std::string_view text) {
  constexpr int kMantissaBits = 53;
  std::uint64_t top = 0;     // the leading significant bits, at most 64
  std::int64_t dropped = 0;  // bits beyond them
  bool sticky = false;       // whether any dropped bit is set
  for (char c : text) {
    if (!isHexDigit(c)) break;
    const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
    if (top >> 60 == 0) {
      top = top << 4 | static_cast<std::uint64_t>(digit);
    } else {
      dropped += 4;
      sticky = sticky || digit != 0;
    }
  }
  if (dropped > 2048) return std::numeric_limits<double>::infinity();
  const int bits = static_cast<int>(std::bit_width(top));
  if (bits > kMantissaBits) {
    const int shift = bits - kMantissaBits;
    const std::uint64_t rest = top & ((std::uint64_t{1} << shift) - 1);
    const std::uint64_t half = std::uint64_t{1} << (shift - 1);
    top >>= shift;
    dropped += shift;
    if (rest > half || (rest == half && (sticky || (top & 1)))) ++top;
  }
  return std::ldexp(static_cast<double>(top), static_cast<int>(dropped));
}

// Octal digits carry three bits each; regrouped by four they read as hexadecimal.
double readOctalInteger(std::string_view text) {
  const std::string_view digits = text.substr(0, text.find_first_not_of("01234567"));
  std::vector<int> nibbles((digits.size() * 3 + 3) / 4, 0);
  std::size_t bit = nibbles.size() * 4 - digits.size() * 3;  // leading padding bits
  for (char c : digits) {
    for (int shift = 2; shift >= 0; --shift, ++bit) {
      if (((c - '0') >> shift) & 1) nibbles[bit / 4] |= 8 >> (bit % 4);
    }
  }
  std::string hex;
  for (int n : nibbles) hex += "0123456789abcdef"[n];
  return readHexInteger(hex);
}

}  // namespace reVoziz
