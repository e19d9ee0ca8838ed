#include "captions/caption_text.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "core/text.h"
#include "core/windows_1252.h"

namespace reVoziz::captions {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Decoded text and where in it something had to be worked around, by offset,
// so that the line can be named once line ends are known.
struct Decoded {
  std::string text;
  std::vector<std::pair<std::size_t, std::string>> notes;

  void note(std::string message) { notes.emplace_back(text.size(), std::move(message)); }
};

// The offset of the first byte that is not part of well-formed UTF-8, if any.
std::optional<std::size_t> firstMalformedUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t at = i;
    if (nextCodePoint(bytes, i) == kReplacementCharacter && bytes.substr(at, 3) != kReplacement) return at;
  }
  return std::nullopt;
}

Decoded fromUtf8(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
  Decoded out;
  out.text.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t at = i;
    const char32_t c = nextCodePoint(bytes, i);
    if (c == kReplacementCharacter && bytes.substr(at, 3) != kReplacement) {
      out.note("bytes that are not UTF-8 replaced by U+FFFD");
    }
    appendUtf8(out.text, c);
  }
  return out;
}

Decoded fromUtf16(std::string_view bytes, bool bigEndian) {
  if (bytes.starts_with(bigEndian ? kUtf16BeMark : kUtf16LeMark)) bytes.remove_prefix(2);
  const auto unitAt = [&](std::size_t i) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
  };
  Decoded out;
  out.text.reserve(bytes.size());
  std::size_t i = 0;
  for (; i + 1 < bytes.size(); i += 2) {
    char32_t c = unitAt(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unitAt(i + 2) >= 0xDC00 &&
        unitAt(i + 2) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unitAt(i + 2) - 0xDC00);
      i += 2;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out.note("a lone UTF-16 surrogate replaced by U+FFFD");
      c = kReplacementCharacter;
    }
    appendUtf8(out.text, c);
  }
  if (i < bytes.size()) {
    out.note("the file ends in half a UTF-16 character, replaced by U+FFFD");
    appendUtf8(out.text, kReplacementCharacter);
  }
  return out;
}

// `guessedAt` is the first byte that made UTF-8 impossible, when the encoding
// was guessed rather than given.
Decoded fromWindows1252(std::string_view bytes, std::optional<std::size_t> guessedAt) {
  Decoded out;
  out.text.reserve(bytes.size() + bytes.size() / 4);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (guessedAt == i) out.note("not UTF-8: the file is read as Windows-1252");
    appendUtf8(out.text, windows1252CodePoint(static_cast<unsigned char>(bytes[i])));
  }
  return out;
}

Decoded decode(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::Detect) {
    if (bytes.starts_with(kUtf8Mark)) return fromUtf8(bytes);
    if (bytes.starts_with(kUtf16LeMark)) return fromUtf16(bytes, false);
    if (bytes.starts_with(kUtf16BeMark)) return fromUtf16(bytes, true);
    const auto malformed = firstMalformedUtf8(bytes);
    return malformed ? fromWindows1252(bytes, malformed) : fromUtf8(bytes);
  }
  switch (encoding) {
    case TextEncoding::Utf16Le: return fromUtf16(bytes, false);
    case TextEncoding::Utf16Be: return fromUtf16(bytes, true);
    case TextEncoding::Windows1252: return fromWindows1252(bytes, std::nullopt);
    default: return fromUtf8(bytes);
  }
}

// LF for every line end and U+FFFD for NUL, with the notes turned into
// warnings on the lines they fall on, each once a line.
CaptionText normalize(const Decoded& decoded) {
  CaptionText out;
  out.text.reserve(decoded.text.size());
  int line = 1;
  std::size_t nextNote = 0;
  // Warnings come in line order, so only this line's need a look.
  const auto warn = [&](const std::string& message) {
    for (auto w = out.warnings.rbegin(); w != out.warnings.rend() && w->line == line; ++w) {
      if (w->message == message) return;
    }
    out.warnings.push_back({line, message});
  };
  const std::string_view text = decoded.text;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    while (nextNote < decoded.notes.size() && decoded.notes[nextNote].first <= i) {
      warn(decoded.notes[nextNote++].second);
    }
    if (i == text.size()) break;
    const char c = text[i];
    if (c == '\0') {
      warn("a NUL character replaced by U+FFFD");
      out.text += kReplacement;
    } else if (c == '\r' || c == '\n') {
      out.text += '\n';
      ++line;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.text += c;
    }
  }
  return out;
}

}  // namespace

std::optional<TextEncoding> textEncodingNamed(std::string_view name) {
  const std::string lower = lowerCase(name);
  if (lower == "utf-8") return TextEncoding::Utf8;
  if (lower == "utf-16le") return TextEncoding::Utf16Le;
  if (lower == "utf-16be") return TextEncoding::Utf16Be;
  if (lower == "windows-1252") return TextEncoding::Windows1252;
  return std::nullopt;
}

CaptionText decodeCaptionText(std::string_view bytes, TextEncoding encoding) {
  return normalize(decode(bytes, encoding));
}

}  // namespace reVoziz::captions
