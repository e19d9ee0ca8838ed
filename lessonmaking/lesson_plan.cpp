#include "lessonmaking/lesson_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "captions/caption_lines.h"
#include "captions/cue_markup.h"
#include "core/error.h"

namespace reVoziz::lessonmaking {

using captions::RenderedCue;
using captions::renderCueText;
using captions::splitLines;
namespace {

constexpr std::int32_t kTocSpacing = 60;
constexpr std::size_t kTitleWords = 6;

std::string_view trimWhite(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\n");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\n") - first + 1);
}

std::string plainLine(std::string_view line, CueDialect dialect) {
  return std::string(trimWhite(renderCueText(line, dialect).plain));
}

std::int32_t wholeSecondsDown(double seconds, const std::string& file, int line) {
  const double down = std::floor(seconds);
  if (!(down >= 0 && down <= std::numeric_limits<std::int32_t>::max())) {
    throw Error(ErrorCode::Overflow,
                file + ':' + std::to_string(line) + ": the cue starts too late for a lesson");
  }
  return static_cast<std::int32_t>(down);
}

CueList inStartOrder(CueList cues) {
  std::stable_sort(cues.begin(), cues.end(),
                   [](const Cue& a, const Cue& b) { return a.startTime < b.startTime; });
  return cues;
}

// The first words of a title, with an ellipsis when there are more.
std::string firstWords(std::string_view text) {
  std::string out;
  std::size_t words = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto start = text.find_first_not_of(" \t\n", at);
    if (start == std::string_view::npos) break;
    const auto end = std::min(text.find_first_of(" \t\n", start), text.size());
    if (words == kTitleWords) return out + "…";
    if (!out.empty()) out += ' ';
    out += text.substr(start, end - start);
    ++words;
    at = end;
  }
  return out;
}

}  // namespace

CueList dropRolledLines(const CueList& cues, CueDialect dialect) {
  const bool rolling = std::any_of(cues.begin(), cues.end(), [&](const Cue& cue) {
    return renderCueText(cue.text, dialect).hasTimestamps;
  });
  if (!rolling) return cues;
  CueList kept;
  std::vector<std::string> previous;
  for (const Cue& cue : cues) {
    std::vector<std::string> lines;
    Cue fresh = cue;
    fresh.text.clear();
    for (const std::string_view line : splitLines(cue.text)) {
      std::string plain = plainLine(line, dialect);
      if (plain.empty()) continue;
      if (std::find(previous.begin(), previous.end(), plain) == previous.end()) {
        if (!fresh.text.empty()) fresh.text += '\n';
        fresh.text += line;
      }
      lines.push_back(std::move(plain));
    }
    previous = std::move(lines);
    if (!fresh.text.empty()) kept.push_back(std::move(fresh));
  }
  return kept;
}

std::vector<Segment> segmentsOf(const Captions& captions, const std::string& file) {
  std::vector<Segment> segments;
  for (const Cue& cue : inStartOrder(dropRolledLines(captions.cues, captions.dialect))) {
    RenderedCue rendered = renderCueText(cue.text, captions.dialect);
    if (trimWhite(rendered.plain).empty()) continue;
    segments.push_back({wholeSecondsDown(cue.startTime, file, cue.line), std::move(rendered.html)});
  }
  return segments;
}

std::vector<TocEntry> chapterEntries(const Captions& chapters, const std::string& file) {
  std::vector<TocEntry> entries;
  for (const Cue& cue : inStartOrder(chapters.cues)) {
    std::string title(trimWhite(renderCueText(cue.text, chapters.dialect).plain));
    std::replace(title.begin(), title.end(), '\n', ' ');
    if (title.empty()) continue;
    entries.push_back({wholeSecondsDown(cue.startTime, file, cue.line), std::move(title)});
  }
  return entries;
}

std::vector<TocEntry> pauseEntries(const Captions& captions) {
  std::vector<TocEntry> entries;
  const CueList cues = inStartOrder(dropRolledLines(captions.cues, captions.dialect));
  double previousEnd = 0;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    const Cue& cue = cues[i];
    const std::string plain(trimWhite(renderCueText(cue.text, captions.dialect).plain));
    const double start = std::floor(cue.startTime);
    const bool afterPause = i == 0 || cue.startTime - previousEnd >= kLongPause;
    previousEnd = std::max(previousEnd, cue.endTime);
    if (plain.empty() || !afterPause || !(start <= std::numeric_limits<std::int32_t>::max())) {
      continue;
    }
    const auto seconds = static_cast<std::int32_t>(start);
    if (!entries.empty() && seconds - entries.back().start < kTocSpacing) continue;
    entries.push_back({seconds, firstWords(plain)});
  }
  return entries;
}

}  // namespace reVoziz::lessonmaking
