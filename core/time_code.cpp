#include "core/time_code.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <optional>
#include <string>

#include "core/decimal.h"
#include "core/error.h"
#include "core/rounding.h"

namespace reVoziz {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

double infinity(bool negative) {
  return negative ? -std::numeric_limits<double>::infinity()
                  : std::numeric_limits<double>::infinity();
}

// The length of the longest prefix of `s` that forms a decimal number; 0 when
// it does not start with one.
std::size_t decimalPrefixLength(std::string_view s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  const auto skipDigits = [&] {
    const std::size_t first = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    return i > first;
  };
  bool digits = skipDigits();
  if (i < s.size() && s[i] == '.') {
    ++i;
    digits = skipDigits() || digits;
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    const std::size_t mantissaEnd = i++;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (!skipDigits()) return mantissaEnd;  // an incomplete exponent is trailing text
  }
  return i;
}

// The power of ten of the first significant digit of a decimal number that has
// one, as decimalPrefixLength delimits it: 2 for "123", -3 for "0.00123", 0 for
// "1000e-3". The exponent saturates far beyond the range of a real.
std::int64_t decimalExponent(std::string_view number) {
  constexpr std::int64_t kFar = std::int64_t{1} << 40;
  std::size_t i = number.front() == '-' ? 1 : 0;
  std::int64_t integerDigits = 0;
  std::int64_t digitIndex = 0;
  std::optional<std::int64_t> firstSignificant;
  bool fraction = false;
  for (; i < number.size() && (isDigit(number[i]) || number[i] == '.'); ++i) {
    if (number[i] == '.') {
      fraction = true;
      continue;
    }
    if (!fraction) ++integerDigits;
    if (number[i] != '0' && !firstSignificant) firstSignificant = digitIndex;
    ++digitIndex;
  }
  std::int64_t exponent = 0;
  if (i < number.size()) {  // past the "e"
    const bool negative = number[++i] == '-';
    if (number[i] == '+' || number[i] == '-') ++i;
    for (; i < number.size(); ++i) exponent = std::min(kFar, exponent * 10 + (number[i] - '0'));
    if (negative) exponent = -exponent;
  }
  return integerDigits - 1 - firstSignificant.value_or(0) + exponent;
}

// A decimal number as decimalPrefixLength delimits it. from_chars ignores the
// locale, so only "." is a decimal point; it takes no "+" and no "D" exponent.
double parseDecimal(std::string_view number) {
  if (number.front() == '+') number.remove_prefix(1);
  // Plain integers, the usual time-code field, need no general parse; up to
  // 15 digits they are exact in a double.
  const bool negative = number.front() == '-';
  const std::string_view digits = number.substr(negative ? 1 : 0);
  if (digits.size() <= 15 && std::all_of(digits.begin(), digits.end(), isDigit)) {
    double value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return negative ? -value : value;
  }
  std::string withE;
  if (number.find_first_of("dD") != std::string_view::npos) {
    withE = number;
    for (char& c : withE) {
      if (c == 'd' || c == 'D') c = 'e';
    }
    number = withE;
  }
  double value = 0;
  const auto [end, ec] = readDecimal(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small reads as zero; too large as infinity, which later overflows.
    return decimalExponent(number) < 0 ? (negative ? -0.0 : 0.0) : infinity(negative);
  }
  return value;
}

bool isDropped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

double leadingNumber(std::string_view text) {
  std::string compact;
  if (std::any_of(text.begin(), text.end(), isDropped)) {
    std::copy_if(text.begin(), text.end(), std::back_inserter(compact),
                 [](char c) { return !isDropped(c); });
    text = compact;
  }
  if (text.size() >= 2 && text[0] == '&') {
    if (text[1] == 'H' || text[1] == 'h') return readHexInteger(text.substr(2));
    if (text[1] == 'O' || text[1] == 'o') return readOctalInteger(text.substr(2));
  }
  const std::size_t length = decimalPrefixLength(text);
  return length == 0 ? 0 : parseDecimal(text.substr(0, length));
}

std::int32_t timeToSeconds(std::string_view time) {
  const auto colons = std::count(time.begin(), time.end(), ':');
  if (time.empty() || colons > 2) return 0;
  // |A| x 3600 + |B| x 60 + |C|, summed from the left as written.
  static constexpr double kFirstWeight[] = {1, 60, 3600};
  double weight = kFirstWeight[colons];
  double total = 0;
  while (true) {
    const auto colon = time.find(':');
    total += std::fabs(leadingNumber(time.substr(0, colon))) * weight;
    if (colon == std::string_view::npos) break;
    time.remove_prefix(colon + 1);
    weight /= 60;
  }
  return toInt32HalfEven(total);
}

std::string secondsToTime(std::int32_t t) {
  if (t == std::numeric_limits<std::int32_t>::min()) throw Error(ErrorCode::Overflow, "Overflow");
  const std::int32_t seconds = t < 0 ? -t : t;
  std::string out;
  const auto appendTwoDigits = [&out](std::int32_t n) {
    if (n < 10) out += '0';
    out += std::to_string(n);
  };
  appendTwoDigits(seconds / 3600);
  out += ':';
  appendTwoDigits(seconds % 3600 / 60);
  out += ':';
  appendTwoDigits(seconds % 60);
  return out;
}

}  // namespace reVoziz
