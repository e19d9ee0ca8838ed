#include "captions/webvtt_reader.h"

#include <cstdint>

#include "captions/caption_lines.h"
#include "captions/caption_text.h"
#include "core/error.h"

namespace reVoziz::captions {
namespace {

using Lines = std::vector<std::string_view>;

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isWhite(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r'; }

void skipWhite(std::string_view text, std::size_t& at) {
  while (at < text.size() && isWhite(text[at])) ++at;
}

// Hours may take many digits; more than this many would only make
// meaningless, possibly infinite, times.
constexpr std::size_t kMaxHourDigits = 9;

// The digits at `at`, or nothing when there are more than `maxDigits`.
std::optional<std::string_view> digitsAt(std::string_view text, std::size_t& at,
                                         std::size_t maxDigits) {
  const std::size_t start = at;
  while (at < text.size() && isDigit(text[at])) ++at;
  if (at - start > maxDigits) return std::nullopt;
  return text.substr(start, at - start);
}

std::uint64_t valueOf(std::string_view digits) {
  std::uint64_t v = 0;
  for (char c : digits) v = v * 10 + static_cast<std::uint64_t>(c - '0');
  return v;
}

std::optional<double> timestampAt(std::string_view text, std::size_t& at) {
  if (at >= text.size() || !isDigit(text[at])) return std::nullopt;
  const auto first = digitsAt(text, at, kMaxHourDigits);
  if (!first) return std::nullopt;
  std::uint64_t v1 = valueOf(*first);
  const bool hours = first->size() != 2 || v1 > 59;
  if (at >= text.size() || text[at] != ':') return std::nullopt;
  ++at;
  const auto second = digitsAt(text, at, 2);
  if (!second || second->size() != 2) return std::nullopt;
  std::uint64_t v2 = valueOf(*second);
  std::uint64_t v3 = 0;
  if (hours || (at < text.size() && text[at] == ':')) {
    if (at >= text.size() || text[at] != ':') return std::nullopt;
    ++at;
    const auto third = digitsAt(text, at, 2);
    if (!third || third->size() != 2) return std::nullopt;
    v3 = valueOf(*third);
  } else {
    v3 = v2;
    v2 = v1;
    v1 = 0;
  }
  if (at >= text.size() || text[at] != '.') return std::nullopt;
  ++at;
  const auto fraction = digitsAt(text, at, 3);
  if (!fraction || fraction->size() != 3) return std::nullopt;
  if (v2 > 59 || v3 > 59) return std::nullopt;
  // Whole milliseconds first, so that "00:02.389" reads as the double nearest 2.389.
  return static_cast<double>(((v1 * 60 + v2) * 60 + v3) * 1000 + valueOf(*fraction)) / 1000;
}

// Start and end of a timing line; the cue settings after them are ignored.
bool readTimings(std::string_view line, Cue& cue) {
  std::size_t at = 0;
  skipWhite(line, at);
  const auto start = timestampAt(line, at);
  if (!start) return false;
  skipWhite(line, at);
  if (line.substr(at, 3) != "-->") return false;
  at += 3;
  skipWhite(line, at);
  const auto end = timestampAt(line, at);
  if (!end) return false;
  cue.startTime = *start;
  cue.endTime = *end;
  return true;
}

// Blocks that give no cue by design.
bool isCommentOrDefinition(std::string_view firstLine) {
  for (const std::string_view keyword : {"NOTE", "STYLE", "REGION"}) {
    if (firstLine.starts_with(keyword) &&
        (firstLine.size() == keyword.size() || firstLine[keyword.size()] == ' ' ||
         firstLine[keyword.size()] == '\t')) {
      return true;
    }
  }
  return false;
}

// One block from line `at` on; moves `at` past it. A cue block yields its
// cue; a block that should have been one adds a warning.
std::optional<Cue> collectBlock(const Lines& lines, std::size_t& at, bool inHeader,
                                CaptionWarnings& warnings) {
  const std::size_t first = at;
  int lineCount = 0;
  std::size_t previous = at;
  std::string buffer;
  bool seenArrow = false;
  std::optional<Cue> cue;
  while (at < lines.size()) {
    const std::string_view line = lines[at];
    const int lineNumber = static_cast<int>(at) + 1;
    ++lineCount;
    ++at;
    if (line.find("-->") != std::string_view::npos) {
      if (!inHeader && (lineCount == 1 || (lineCount == 2 && !seenArrow))) {
        seenArrow = true;
        previous = at;
        cue = Cue{buffer, 0, 0, {}, lineNumber};
        if (readTimings(line, *cue)) {
          buffer.clear();
        } else {
          cue.reset();
          warnings.push_back({lineNumber, "\"-->\" on a line that is not a cue timing "
                                          "(MM:SS.mmm --> MM:SS.mmm); the lines up to the next "
                                          "blank line are left out"});
        }
      } else {
        // A timing line without a blank line before it starts the next block.
        at = previous;
        break;
      }
    } else if (line.empty()) {
      break;
    } else {
      if (!buffer.empty()) buffer += '\n';
      buffer += line;
      previous = at;
    }
  }
  if (cue) {
    cue->text = std::move(buffer);
  } else if (!inHeader && !seenArrow && !isCommentOrDefinition(lines[first])) {
    warnings.push_back({static_cast<int>(first) + 1,
                        "a block without a cue timing line (MM:SS.mmm --> MM:SS.mmm) is left out"});
  }
  return cue;
}

void skipBlankLines(const Lines& lines, std::size_t& at) {
  while (at < lines.size() && lines[at].empty()) ++at;
}

}  // namespace

bool hasWebVttSignature(std::string_view raw) {
  if (raw.starts_with("\xEF\xBB\xBF")) raw.remove_prefix(3);
  if (!raw.starts_with("WEBVTT")) return false;
  if (raw.size() == 6) return true;
  const char next = raw[6];
  return next == ' ' || next == '\t' || next == '\n' || next == '\r';
}

Captions readWebVtt(const CaptionText& text) {
  if (!hasWebVttSignature(text.text)) {
    throw Error(ErrorCode::InvalidArgument, "not a WebVTT file: it does not start with WEBVTT");
  }
  const Lines lines = splitLines(text.text);
  Captions captions{CueDialect::WebVtt, {}, text.warnings};
  std::size_t at = 1;
  if (at < lines.size()) {
    if (lines[at].empty()) {
      ++at;
    } else {
      collectBlock(lines, at, true, captions.warnings);
    }
  }
  skipBlankLines(lines, at);
  while (at < lines.size()) {
    if (auto cue = collectBlock(lines, at, false, captions.warnings)) captions.cues.push_back(std::move(*cue));
    skipBlankLines(lines, at);
  }
  return captions;
}

Captions readWebVtt(std::string_view bytes, TextEncoding encoding) {
  return readWebVtt(decodeCaptionText(bytes, encoding));
}

std::optional<double> readWebVttTimestamp(std::string_view text) {
  std::size_t at = 0;
  const auto value = timestampAt(text, at);
  if (!value || at != text.size()) return std::nullopt;
  return value;
}

}  // namespace reVoziz::captions
