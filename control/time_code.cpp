#include "control/time_code.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <vector>

#include "control/error.h"
#include "control/rounding.h"

namespace reVoziz {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c, int base) {
  int v = -1;
  if (isDigit(c)) v = c - '0';
  if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

double readInteger(std::string_view digits, int base) {
  double value = 0;
  for (char c : digits) {
    const int d = digitValue(c, base);
    if (d < 0) break;
    value = value * base + d;
  }
  return value;
}

// The longest prefix of `s` that forms a decimal number.
std::string decimalPrefix(std::string_view s) {
  std::size_t i = 0;
  std::string out;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
  bool digits = false;
  while (i < s.size() && isDigit(s[i])) {
    out += s[i++];
    digits = true;
  }
  if (i < s.size() && s[i] == '.') {
    out += s[i++];
    while (i < s.size() && isDigit(s[i])) {
      out += s[i++];
      digits = true;
    }
  }
  if (!digits) return {};
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
    const std::size_t firstDigit = j;
    while (j < s.size() && isDigit(s[j])) exponent += s[j++];
    if (j > firstDigit) out += exponent;
  }
  return out;
}

std::vector<std::string_view> splitFields(std::string_view time) {
  std::vector<std::string_view> fields;
  if (time.empty()) return fields;
  while (true) {
    const auto colon = time.find(':');
    fields.push_back(time.substr(0, colon));
    if (colon == std::string_view::npos) return fields;
    time.remove_prefix(colon + 1);
  }
}

}  // namespace

double leadingNumber(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') s += c;
  }
  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return readInteger(std::string_view(s).substr(2), 16);
    if (s[1] == 'O' || s[1] == 'o') return readInteger(std::string_view(s).substr(2), 8);
  }
  const std::string number = decimalPrefix(s);
  if (number.empty()) return 0;
  // from_chars ignores the locale: only "." is a decimal point. It takes no "+".
  std::string_view digits = number;
  if (digits.front() == '+') digits.remove_prefix(1);
  double value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too small reads as zero; too large as infinity, which later overflows.
    if (digits.find("e-") != std::string_view::npos) return 0;
    return digits.front() == '-' ? -std::numeric_limits<double>::infinity()
                                 : std::numeric_limits<double>::infinity();
  }
  return value;
}

std::int32_t timeToSeconds(std::string_view time) {
  const std::vector<std::string_view> fields = splitFields(time);
  if (fields.empty() || fields.size() > 3) return 0;
  // |A| x 3600 + |B| x 60 + |C|, summed from the left as written.
  double weight = std::pow(60.0, static_cast<double>(fields.size() - 1));
  double total = 0;
  for (std::string_view field : fields) {
    total += std::fabs(leadingNumber(field)) * weight;
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
