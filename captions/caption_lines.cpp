#include "captions/caption_lines.h"

#include "core/text.h"

namespace reVoziz::captions {

std::string normalizeCaptionText(std::string_view raw) {
  if (raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
  std::string out;
  out.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '\0') {
      appendUtf8(out, kReplacementCharacter);
    } else if (c == '\r') {
      out += '\n';
      if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace reVoziz::captions
