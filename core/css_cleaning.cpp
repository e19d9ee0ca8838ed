#include "core/css_cleaning.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/text.h"

namespace reVoziz {
namespace {

// What in a declaration, once read plainly and without white space, runs
// script or fetches something: every function that takes an address, and
// at-rules, which have no place in a style attribute.
constexpr auto kRefusedInStyle = std::to_array<std::string_view>(
    {"url(", "image-set(", "image(", "cross-fade(", "element(", "src(", "@", "expression(", "javascript:",
     "vbscript:", "behavior", "-moz-binding"});

bool isBlankOrControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 0x20 || u == 0x7F;
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

char32_t hexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<char32_t>(c - '0');
  return static_cast<char32_t>((c | 0x20) - 'a' + 10);
}

// One declaration: as written (comments gone) and as read (escapes undone).
struct Declaration {
  std::string written;
  std::string read;
  bool broken = false;  // an unclosed string or comment
};

class StyleReader {
 public:
  explicit StyleReader(std::string_view css) : css_(css) {}

  std::vector<Declaration> declarations() {
    std::vector<Declaration> out(1);
    int depth = 0;
    while (i_ < css_.size()) {
      Declaration& d = out.back();
      const char c = css_[i_];
      if (css_.substr(i_, 2) == "/*") {
        skipComment(d);
      } else if (c == '"' || c == '\'') {
        readString(d, c);
      } else if (c == '\\') {
        readEscape(d);
      } else if (c == ';' && depth == 0) {
        ++i_;
        out.emplace_back();
      } else {
        if (c == '(' || c == '[' || c == '{') ++depth;
        if ((c == ')' || c == ']' || c == '}') && depth > 0) --depth;
        d.written += c;
        d.read += c;
        ++i_;
      }
    }
    return out;
  }

 private:
  void skipComment(Declaration& d) {
    const auto end = css_.find("*/", i_ + 2);
    if (end == std::string_view::npos) d.broken = true;
    i_ = end == std::string_view::npos ? css_.size() : end + 2;
    d.written += ' ';
  }

  void readString(Declaration& d, char quote) {
    d.written += css_[i_++];
    d.read += quote;
    while (i_ < css_.size() && css_[i_] != quote) {
      if (css_[i_] == '\n') {
        d.broken = true;  // a browser drops a declaration whose string breaks
        return;
      }
      if (css_[i_] == '\\') {
        readEscape(d);
      } else {
        d.written += css_[i_];
        d.read += css_[i_++];
      }
    }
    if (i_ >= css_.size()) {
      d.broken = true;
      return;
    }
    d.written += css_[i_++];
    d.read += quote;
  }

  void readEscape(Declaration& d) {
    const std::size_t start = i_++;
    std::size_t digits = 0;
    char32_t value = 0;
    while (i_ + digits < css_.size() && digits < 6 && isHexDigit(css_[i_ + digits])) {
      value = value * 16 + hexValue(css_[i_ + digits]);
      ++digits;
    }
    if (digits > 0) {
      i_ += digits;
      if (i_ < css_.size() && isBlankOrControl(css_[i_])) ++i_;
      const bool scalar = value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
      appendUtf8(d.read, scalar ? value : 0xFFFD);
    } else if (i_ < css_.size()) {
      if (css_[i_] != '\n') d.read += css_[i_];  // an escaped line break joins lines
      ++i_;
    }
    d.written.append(css_.substr(start, i_ - start));
  }

  std::string_view css_;
  std::size_t i_ = 0;
};

// `text` lower-cased, without white space or control characters.
std::string squeezed(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (!isBlankOrControl(c)) out += c;
  }
  return lowerCase(out);
}

bool isKept(const Declaration& d) {
  const std::string read = squeezed(d.read);
  return !d.broken && !read.empty() && std::none_of(kRefusedInStyle.begin(), kRefusedInStyle.end(), [&](std::string_view word) {
    return read.find(word) != std::string::npos;
  });
}

}  // namespace

std::string cleanedStyle(std::string_view css) {
  std::string out;
  bool dropped = false;
  for (const Declaration& d : StyleReader(css).declarations()) {
    if (!isKept(d)) {
      dropped = dropped || d.broken || !squeezed(d.read).empty();
      continue;
    }
    if (!out.empty()) out += "; ";
    out += trimSpaces(d.written);
  }
  // A style kept whole stays as it was written, so that opening notes and
  // saving them again changes nothing.
  return dropped ? out : std::string(css);
}

std::optional<std::vector<std::string>> declaredProperties(std::string_view css) {
  std::vector<std::string> properties;
  for (const Declaration& d : StyleReader(css).declarations()) {
    const std::string read = squeezed(d.read);
    if (read.empty()) continue;
    const auto colon = read.find(':');
    if (d.broken || colon == std::string::npos || colon == 0) return std::nullopt;
    properties.push_back(read.substr(0, colon));
  }
  return properties;
}

}  // namespace reVoziz
