#include "control/text.h"

#include <cstdint>

namespace reVoziz {
namespace {

// Lower-case mapping for the Latin, Greek and Cyrillic capitals that lesson
// texts use; other code points map to themselves.
char32_t lowerCodePoint(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x130) return 'i';
  if (c == 0x178) return 0xFF;
  const bool latinExtendedEvenUpper =
      (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  if (latinExtendedEvenUpper) return (c % 2 == 0) ? c + 1 : c;
  const bool latinExtendedOddUpper =
      (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (latinExtendedOddUpper) return (c % 2 == 1) ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

}  // namespace

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

char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  // Length and smallest value of each sequence form, so that overlong forms,
  // surrogates and values past U+10FFFF count as malformed.
  std::size_t length = 0;
  char32_t c = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, least = 0x10000;
  }
  if (length == 0 || i + length > s.size()) {
    ++i;
    return kReplacementCharacter;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      ++i;
      return kReplacementCharacter;
    }
    c = (c << 6) | (byte(i + k) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return kReplacementCharacter;
  }
  i += length;
  return c;
}

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
    // Two-byte sequences cover every capital that lowerCodePoint maps. Lead
    // bytes C0 and C1 only start overlong forms of ASCII, which are no letters:
    // decoding them would turn malformed bytes into "A" or NUL.
    if (b >= 0xC2 && b <= 0xDF && i + 1 < s.size() &&
        (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
      const char32_t c = (static_cast<char32_t>(b & 0x1F) << 6) |
                         (static_cast<unsigned char>(s[i + 1]) & 0x3F);
      appendUtf8(out, lowerCodePoint(c));
      i += 2;
      continue;
    }
    out += s[i];  // other bytes pass through unchanged
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
