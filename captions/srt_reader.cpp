#include "captions/srt_reader.h"

#include <cstdint>
#include <optional>

#include "captions/caption_lines.h"
#include "captions/caption_text.h"

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

bool isTiming(std::string_view line) {
  Cue probe;
  return readTiming(line, probe);
}

// A timing line with a typo ("00:00:01,000 -> 00:00:02,000"): it starts with
// a digit and has an arrow, but does not parse.
bool isBrokenTiming(std::string_view line) {
  line = trimBlanks(line);
  return !line.empty() && isDigit(line[0]) && line.find("->") != std::string_view::npos && !isTiming(line);
}

// After a counter, less makes a broken timing: a digit first, then a time's
// ":" and something of an arrow ("00:00:01,000 - 00:00:02,000").
bool isBrokenTimingAfterCounter(std::string_view line) {
  line = trimBlanks(line);
  return !line.empty() && isDigit(line[0]) && line.find(':') != std::string_view::npos &&
         line.find_first_of("->") != std::string_view::npos && !isTiming(line);
}

bool isBlockStart(std::string_view line) { return isTiming(line) || isBrokenTiming(line); }

// A cue starts at `at`: a timing line, or a counter right before one. One
// whose timing is broken starts a cue only after a blank line, so that text
// such as "1 -> 2" inside a cue stays text.
bool cueStartsAt(const Lines& lines, std::size_t at) {
  if (at >= lines.size()) return false;
  const bool counted = isCounter(lines[at]) && at + 1 < lines.size();
  if (isTiming(lines[at]) || (counted && isTiming(lines[at + 1]))) return true;
  const bool afterBlank = at == 0 || isBlankLine(lines[at - 1]);
  return afterBlank && (isBrokenTiming(lines[at]) || (counted && isBrokenTimingAfterCounter(lines[at + 1])));
}

std::size_t firstNonBlank(const Lines& lines, std::size_t at) {
  while (at < lines.size() && isBlankLine(lines[at])) ++at;
  return at;
}

}  // namespace

bool looksLikeSrt(const CaptionText& text) {
  const Lines lines = splitLines(text.text);
  const std::size_t at = firstNonBlank(lines, 0);
  if (at == lines.size() || !(isCounter(lines[at]) || isBlockStart(lines[at]))) return false;
  for (std::size_t i = at; i < lines.size(); ++i) {
    if (isTiming(lines[i])) return true;
  }
  return false;
}

bool looksLikeSrt(std::string_view bytes) { return looksLikeSrt(decodeCaptionText(bytes)); }

Captions readSrt(const CaptionText& text) {
  const Lines lines = splitLines(text.text);
  Captions captions{CueDialect::Srt, {}, text.warnings};
  std::size_t at = firstNonBlank(lines, 0);
  while (at < lines.size()) {
    Cue cue;
    if (!isBlockStart(lines[at]) && at + 1 < lines.size()) cue.id = std::string(trimBlanks(lines[at++]));
    cue.line = static_cast<int>(at) + 1;
    const bool timed = readTiming(lines[at], cue);
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
    if (timed) {
      captions.cues.push_back(std::move(cue));
    } else {
      captions.warnings.push_back(
          {cue.line, "not a cue timing (HH:MM:SS,mmm --> HH:MM:SS,mmm); the cue is left out"});
    }
    at = firstNonBlank(lines, at);
  }
  return captions;
}

Captions readSrt(std::string_view bytes, TextEncoding encoding) {
  return readSrt(decodeCaptionText(bytes, encoding));
}

}  // namespace reVoziz::captions
