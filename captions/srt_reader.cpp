#include "captions/srt_reader.h"

#include <cstdint>
#include <optional>

#include "captions/caption_lines.h"

namespace reVoziz::captions {
namespace {

using Lines = std::vector<std::string_view>;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Lines holding only white space separate cues, as empty ones do.
bool isBlankLine(std::string_view line) { return trimBlanks(line).empty(); }

bool isCounter(std::string_view line) {
  line = trimBlanks(line);
  if (line.empty() || line.size() > 18) return false;
  for (char c : line) {
    if (!isDigit(c)) return false;
  }
  return true;
}

std::optional<std::uint64_t> number(std::string_view s, std::size_t& at, std::size_t minDigits,
                                    std::size_t maxDigits) {
  const std::size_t start = at;
  std::uint64_t v = 0;
  while (at < s.size() && isDigit(s[at]) && at - start < maxDigits) {
    v = v * 10 + static_cast<std::uint64_t>(s[at++] - '0');
  }
  if (at - start < minDigits || (at < s.size() && isDigit(s[at]))) return std::nullopt;
  return v;
}

// "H:MM:SS,mmm"; a point for the comma and short fields are accepted too.
std::optional<double> timeAt(std::string_view s, std::size_t& at) {
  const auto h = number(s, at, 1, 9);
  if (!h || at >= s.size() || s[at++] != ':') return std::nullopt;
  const auto m = number(s, at, 1, 2);
  if (!m || at >= s.size() || s[at++] != ':') return std::nullopt;
  const auto sec = number(s, at, 1, 2);
  if (!sec || *m > 59 || *sec > 59) return std::nullopt;
  std::uint64_t millis = 0;
  if (at < s.size() && (s[at] == ',' || s[at] == '.')) {
    ++at;
    const std::size_t start = at;
    const auto ms = number(s, at, 1, 3);
    if (!ms) return std::nullopt;
    millis = *ms;
    for (std::size_t digits = at - start; digits < 3; ++digits) millis *= 10;
  }
  // Whole milliseconds first, so that ",389" reads as the double nearest .389.
  return static_cast<double>(((*h * 60 + *m) * 60 + *sec) * 1000 + millis) / 1000;
}

bool readTiming(std::string_view line, Cue& cue) {
  std::size_t at = 0;
  while (at < line.size() && isBlank(line[at])) ++at;
  const auto start = timeAt(line, at);
  if (!start) return false;
  while (at < line.size() && isBlank(line[at])) ++at;
  if (line.substr(at, 3) != "-->") return false;
  at += 3;
  while (at < line.size() && isBlank(line[at])) ++at;
  const auto end = timeAt(line, at);
  if (!end) return false;
  cue.startTime = *start;
  cue.endTime = *end;
  return true;
}

bool isTimingLine(std::string_view line) { return line.find("-->") != std::string_view::npos; }

// A cue starts at `at`: a timing line, or a counter right before one.
bool cueStartsAt(const Lines& lines, std::size_t at) {
  if (at >= lines.size()) return false;
  if (isTimingLine(lines[at])) return true;
  return isCounter(lines[at]) && at + 1 < lines.size() && isTimingLine(lines[at + 1]);
}

std::size_t firstNonBlank(const Lines& lines, std::size_t at) {
  while (at < lines.size() && isBlankLine(lines[at])) ++at;
  return at;
}

}  // namespace

bool looksLikeSrt(std::string_view raw) {
  const std::string text = normalizeCaptionText(raw);
  const Lines lines = splitLines(text);
  const std::size_t at = firstNonBlank(lines, 0);
  if (!cueStartsAt(lines, at)) return false;
  Cue probe;
  return readTiming(lines[isTimingLine(lines[at]) ? at : at + 1], probe);
}

CueList readSrt(std::string_view raw) {
  const std::string text = normalizeCaptionText(raw);
  const Lines lines = splitLines(text);
  CueList cues;
  std::size_t at = firstNonBlank(lines, 0);
  while (at < lines.size()) {
    Cue cue;
    if (!isTimingLine(lines[at])) cue.id = std::string(trimBlanks(lines[at++]));
    cue.line = static_cast<int>(at) + 1;
    const bool timed = at < lines.size() && readTiming(lines[at], cue);
    ++at;
    // The text runs to the next cue: blank lines inside it are kept when what
    // follows them is not a new cue, as some tools write them.
    std::vector<std::string_view> textLines;
    while (at < lines.size() && !cueStartsAt(lines, at)) {
      textLines.push_back(lines[at++]);
    }
    while (!textLines.empty() && isBlankLine(textLines.back())) textLines.pop_back();
    for (std::size_t i = 0; i < textLines.size(); ++i) {
      if (i > 0) cue.text += '\n';
      cue.text += textLines[i];
    }
    if (timed) cues.push_back(std::move(cue));
    at = firstNonBlank(lines, at);
  }
  return cues;
}

}  // namespace reVoziz::captions
