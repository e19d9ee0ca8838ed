#include "documents/stored_form.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "core/text.h"
#include "core/windows_1252.h"

namespace reVoziz {
namespace {

constexpr char32_t kAmpersand = '&';

char32_t codePointOfByte(unsigned char b) { return windows1252CodePoint(b); }

std::optional<unsigned char> byteOfCodePoint(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<unsigned char>(c);
  for (std::size_t i = 0; i < kWindows1252HighBytes.size(); ++i) {
    if (kWindows1252HighBytes[i] == c) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

struct Reference {
  char32_t codePoint;
  std::size_t length;
};

// The reference starting at `at`, when it is one the writer produces: "&#",
// decimal digits without a leading zero, ";", naming either "&" or a character
// that Windows-1252 cannot hold. References are ASCII, so this reads stored
// bytes and UTF-8 text alike.
std::optional<Reference> writerReference(std::string_view s, std::size_t at) {
  constexpr std::size_t kMaxDigits = 7;  // U+10FFFF is 1114111
  if (s.compare(at, 2, "&#") != 0) return std::nullopt;
  std::size_t i = at + 2;
  char32_t value = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - at - 2 < kMaxDigits) {
    value = value * 10 + static_cast<char32_t>(s[i] - '0');
    ++i;
  }
  const std::size_t digits = i - at - 2;
  if (digits == 0 || s[at + 2] == '0' || i >= s.size() || s[i] != ';') return std::nullopt;
  const bool scalar = value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
  if (!scalar || (value != kAmpersand && byteOfCodePoint(value))) return std::nullopt;
  return Reference{value, i + 1 - at};
}

}  // namespace

std::string toStoredForm(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '&' && writerReference(text, i)) {
      out += "&#38;";
      ++i;
      continue;
    }
    const char32_t c = nextCodePoint(text, i);
    if (const auto b = byteOfCodePoint(c)) {
      out += static_cast<char>(*b);
    } else {
      out += "&#" + std::to_string(static_cast<std::uint32_t>(c)) + ';';
    }
  }
  return out;
}

std::string fromStoredForm(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    if (const auto reference = writerReference(bytes, i)) {
      appendUtf8(out, reference->codePoint);
      i += reference->length;
    } else {
      appendUtf8(out, codePointOfByte(static_cast<unsigned char>(bytes[i])));
      ++i;
    }
  }
  return out;
}

std::string readStoredPage(FileSystem& files, std::string_view path) {
  return fromStoredForm(files.openForReading(path)->readAll());
}

void writeStoredPage(FileSystem& files, std::string_view path, std::string_view page) {
  replaceFile(files, path, toStoredForm(page));
}

}  // namespace reVoziz
