#include "captions/cues_json.h"

#include <charconv>
#include <cstdio>

#include "core/text.h"

namespace reVoziz::captions {
namespace {

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  std::size_t i = 0;
  while (i < text.size()) {
    const char32_t c = nextCodePoint(text, i);
    if (c == U'"' || c == U'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == U'\n') {
      out += "\\n";
    } else if (c == U'\t') {
      out += "\\t";
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      appendUtf8(out, c);
    }
  }
  out += '"';
}

void appendNumber(std::string& out, double value) {
  char digits[32];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

}  // namespace

std::string cuesToJson(const CueList& cues) {
  std::string out = "[";
  for (std::size_t i = 0; i < cues.size(); ++i) {
    const Cue& cue = cues[i];
    out += i == 0 ? "\n  {\"id\": " : ",\n  {\"id\": ";
    appendJsonString(out, cue.id);
    out += ", \"startTime\": ";
    appendNumber(out, cue.startTime);
    out += ", \"endTime\": ";
    appendNumber(out, cue.endTime);
    out += ", \"text\": ";
    appendJsonString(out, cue.text);
    out += '}';
  }
  out += cues.empty() ? "]\n" : "\n]\n";
  return out;
}

}  // namespace reVoziz::captions
