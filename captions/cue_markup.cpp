#include "captions/cue_markup.h"

#include <algorithm>
#include <array>
#include <vector>

#include "captions/named_character_references.h"
#include "captions/webvtt_reader.h"
#include "core/html_text.h"
#include "core/text.h"

namespace reVoziz::captions {
namespace {

constexpr std::array<std::string_view, 5> kKeptTags = {"b", "i", "u", "ruby", "rt"};
constexpr std::array<std::string_view, 8> kWebVttTags = {"c", "i", "b", "u", "ruby", "rt", "v", "lang"};
constexpr std::array<std::string_view, 3> kSrtTags = {"i", "b", "u"};

template <std::size_t N>
bool among(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool isTagSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

// The code point of a numeric reference body ("#65", "#x41"), U+FFFD for one
// that names no character, or nothing when the body is not numeric.
std::optional<char32_t> numericReference(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return std::nullopt;
  const bool hex = body[1] == 'x' || body[1] == 'X';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  char32_t value = 0;
  for (const char c : digits) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + static_cast<char32_t>(digit);
  }
  if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return kReplacementCharacter;
  }
  return value;
}

// The longest named reference that starts `text` (just after its "&"), as
// HTML reads them: "&eacute;", and a few old names without ";" ("&copy").
const NamedCharacterReference* namedReference(std::string_view text) {
  const auto begin = std::begin(kNamedCharacterReferences);
  const auto end = std::end(kNamedCharacterReferences);
  for (std::size_t length = std::min(text.size(), kLongestReferenceName); length > 0; --length) {
    const std::string_view name = text.substr(0, length);
    const auto found = std::lower_bound(begin, end, name, [](const NamedCharacterReference& r, std::string_view n) {
      return r.name < n;
    });
    if (found != end && found->name == name) return &*found;
  }
  return nullptr;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Whether the "<" at `at` opens a tag. WebVTT reads a tag after any "<" but
// one before white space or the end, which stays text as teachers mean it
// ("a < b"); SRT, like HTML, only before a letter or "/" and a letter.
bool opensTag(std::string_view text, std::size_t at, CueDialect dialect) {
  const std::string_view rest = text.substr(at + 1);
  if (rest.empty() || isTagSpace(rest[0])) return false;
  if (dialect == CueDialect::WebVtt) return true;
  return isAsciiLetter(rest[0]) || (rest.size() > 1 && rest[0] == '/' && isAsciiLetter(rest[1]));
}

// A position code of subtitle editors, such as {\an8} or {\pos(10,20)}: its length.
std::size_t positionCodeLength(std::string_view text, std::size_t at) {
  if (text.substr(at, 2) != "{\\") return 0;
  const std::size_t close = text.find('}', at);
  return close == std::string_view::npos ? 0 : close + 1 - at;
}

class CueRenderer {
 public:
  explicit CueRenderer(CueDialect dialect) : dialect_(dialect) {}

  RenderedCue render(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
      const char c = text[i];
      if (c == '\n') {
        out_.html += "<br>";
        out_.plain += '\n';
        ++i;
      } else if (c == '&') {
        i = reference(text, i);
      } else if (c == '<' && opensTag(text, i, dialect_)) {
        const std::size_t close = text.find('>', i);
        const std::size_t end = close == std::string_view::npos ? text.size() : close + 1;
        const std::size_t innerEnd = close == std::string_view::npos ? text.size() : close;
        tag(text.substr(i + 1, innerEnd - i - 1));
        i = end;
      } else if (const std::size_t length = positionCodeLength(text, i)) {
        i += length;
      } else {
        appendText(text.substr(i, 1));
        ++i;
      }
    }
    while (!open_.empty()) closeTop();
    return std::move(out_);
  }

 private:
  struct OpenTag {
    std::string name;
    bool written;  // whether an HTML element was opened for it
  };

  void appendText(std::string_view text) {
    appendEscapedHtml(out_.html, text);
    out_.plain += text;
  }

  std::size_t reference(std::string_view text, std::size_t at) {
    std::string decoded;
    const std::size_t semicolon = text.find(';', at);
    if (semicolon != std::string_view::npos && semicolon - at <= 12) {
      if (const auto code = numericReference(text.substr(at + 1, semicolon - at - 1))) {
        appendUtf8(decoded, *code);
        appendText(decoded);
        return semicolon + 1;
      }
    }
    if (const NamedCharacterReference* named = namedReference(text.substr(at + 1))) {
      appendUtf8(decoded, named->first);
      if (named->second) appendUtf8(decoded, named->second);
      appendText(decoded);
      return at + 1 + named->name.size();
    }
    appendText("&");
    return at + 1;
  }

  std::string tagName(std::string_view name) const {
    return dialect_ == CueDialect::Srt ? lowerCase(name) : std::string(name);
  }

  // <br>, <br/> and <BR>, as subtitle editors write them.
  static bool isLineBreak(std::string_view name) {
    if (name.ends_with('/')) name.remove_suffix(1);
    return lowerCase(name) == "br";
  }

  bool known(std::string_view name) const {
    return dialect_ == CueDialect::Srt ? among(kSrtTags, name) : among(kWebVttTags, name);
  }

  void closeTop() {
    if (open_.back().written) out_.html += "</" + open_.back().name + '>';
    open_.pop_back();
  }

  // Unknown tags are dropped and their text kept.
  void tag(std::string_view inner) {
    if (inner.starts_with('/')) {
      endTag(tagName(inner.substr(1, inner.find_first_of(" \t\n\f\r.", 1) - 1)));
    } else if (!inner.empty() && inner[0] >= '0' && inner[0] <= '9' &&
               dialect_ == CueDialect::WebVtt && readWebVttTimestamp(inner)) {
      out_.hasTimestamps = true;
    } else {
      startTag(inner);
    }
  }

  void endTag(const std::string& name) {
    if (!open_.empty() && open_.back().name == name) {
      closeTop();
    } else if (name == "ruby" && open_.size() >= 2 && open_.back().name == "rt" &&
               open_[open_.size() - 2].name == "ruby") {
      closeTop();
      closeTop();
    }
    // An end tag that closes nothing open is ignored, as cue text rules say.
  }

  void startTag(std::string_view inner) {
    std::size_t nameEnd = 0;
    while (nameEnd < inner.size() && inner[nameEnd] != '.' && !isTagSpace(inner[nameEnd])) ++nameEnd;
    const std::string name = tagName(inner.substr(0, nameEnd));
    if (isLineBreak(name)) {
      out_.html += "<br>";
      out_.plain += '\n';
      return;
    }
    if (!known(name)) return;
    if (name == "rt" && (open_.empty() || open_.back().name != "ruby")) return;
    const bool written = among(kKeptTags, name);
    if (written) out_.html += '<' + name + '>';
    if (name == "v") speakerLabel(inner.substr(nameEnd));
    open_.push_back({name, written});
  }

  // The annotation after the classes: `<v.loud Ana Pérez>` names Ana Pérez.
  void speakerLabel(std::string_view rest) {
    const std::size_t space = std::find_if(rest.begin(), rest.end(), isTagSpace) - rest.begin();
    std::string_view speaker = rest.substr(space);
    while (!speaker.empty() && isTagSpace(speaker.front())) speaker.remove_prefix(1);
    while (!speaker.empty() && isTagSpace(speaker.back())) speaker.remove_suffix(1);
    if (speaker.empty()) return;
    out_.html += "<span class=\"speaker\">";
    appendEscapedHtml(out_.html, speaker);
    out_.html += ":</span> ";
  }

  CueDialect dialect_;
  RenderedCue out_;
  std::vector<OpenTag> open_;
};

}  // namespace

RenderedCue renderCueText(std::string_view text, CueDialect dialect) {
  return CueRenderer(dialect).render(text);
}

}  // namespace reVoziz::captions
