#pragma once
// A strict UTF-8 reader of the fuzz targets' own (RFC 3629), independent of
// the library's, to judge what the library gives back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace reVoziz::fuzz {

// The code points of well-formed UTF-8, or none for any malformed byte.
inline std::optional<std::u32string> strictUtf8(std::string_view s) {
  std::u32string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    std::size_t length = 1;
    char32_t c = b(i);
    if (c >= 0x80) {
      if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
      } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
      } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
      } else {
        return std::nullopt;
      }
      if (i + length > s.size()) return std::nullopt;
      c &= 0x3F >> (length - 1);
      for (std::size_t k = 1; k < length; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (b(i + k) & 0x3F);
      }
      constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
      if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
      }
    }
    out += c;
    i += length;
  }
  return out;
}

}  // namespace reVoziz::fuzz
