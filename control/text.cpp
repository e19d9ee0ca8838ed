#include "control/text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "control/lower_case_table.h"

namespace reVoziz {
namespace {

// The simple lower-case mapping of Unicode; code points without one map to
// themselves. The table is generated, so every host maps alike, whatever its
// locale.
char32_t lowerCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  const auto after = std::upper_bound(std::begin(kLowerCaseRuns), std::end(kLowerCaseRuns), c,
                                      [](char32_t v, const LowerCaseRun& r) { return v < r.first; });
  if (after == std::begin(kLowerCaseRuns)) return c;
  const LowerCaseRun& run = *(after - 1);
  if (c > run.last || (c - run.first) % run.stride != 0) return c;
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + run.offset);
}

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The well-formed UTF-8 sequence at the start of `s` and its length, or 0 for
// a byte that starts none: overlong forms, surrogates and values beyond
// U+10FFFF are malformed.
std::size_t decodeUtf8(std::string_view s, char32_t& c) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  c = lead & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if (!isContinuation(byte(i))) return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  return length;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string lowerCase(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      out += static_cast<char>(lowerCodePoint(b));
      ++i;
      continue;
    }
    char32_t c = 0;
    if (const std::size_t length = decodeUtf8(s.substr(i), c)) {
      appendUtf8(out, lowerCodePoint(c));
      i += length;
      continue;
    }
    out += s[i];  // a malformed byte passes through unchanged
    ++i;
  }
  return out;
}

std::string trimSpaces(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

}  // namespace reVoziz
