#include "lessonmaking/lesson_plan.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "captions/caption_lines.h"
#include "captions/cue_markup.h"
#include "core/error.h"
#include "lessonmaking/rolling_captions.h"

namespace reVoziz::lessonmaking {

using captions::trimWhite;

using captions::RenderedCue;
using captions::renderCueText;
namespace {

constexpr std::int32_t kTocSpacing = 60;
constexpr std::size_t kTitleWords = 6;

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

// A cue's lines as one run of text: the line breaks of captions are where
// the screen ran out, not where the speaker paused.
std::string runOnLines(const std::string& html) {
  constexpr std::string_view kBreak = "<br>";
  std::string out;
  for (std::size_t at = 0;;) {
    const std::size_t found = html.find(kBreak, at);
    const std::string_view part = trimWhite(std::string_view(html).substr(at, found - at));
    if (!out.empty() && !part.empty()) out += ' ';
    out += part;
    if (found == std::string::npos) return out;
    at = found + kBreak.size();
  }
}

// The cues that make segments: rolled lines gone, cues without text left out;
// what was left out is counted and warned of in `plan`.
Captions withText(const Captions& captions, TranscriptPlan& plan) {
  KeptCues kept = dropRolledLines(captions.cues, captions.dialect);
  plan.cuesDropped = kept.dropped;
  plan.warnings = std::move(kept.warnings);
  Captions out{captions.dialect, {}, {}};
  for (Cue& cue : kept.cues) {
    if (trimWhite(renderCueText(cue.text, captions.dialect).plain).empty()) {
      ++plan.cuesDropped;
      plan.warnings.push_back({cue.line, "the cue has no text; it is left out"});
      continue;
    }
    out.cues.push_back(std::move(cue));
  }
  std::stable_sort(plan.warnings.begin(), plan.warnings.end(),
                   [](const captions::CaptionWarning& a, const captions::CaptionWarning& b) { return a.line < b.line; });
  return out;
}

std::string noCues(const std::string& file) { return file + ": no cue with text; a lesson needs at least one"; }

// Whether a cue's words end a sentence, closing quotes and brackets aside.
bool endsSentence(std::string_view plain) {
  static constexpr std::string_view kClosers[] = {"\"", "'", ")", "]", "»", "”", "’"};
  static constexpr std::string_view kEnds[] = {".", "?", "!", "…", "。", "？", "！"};
  plain = trimWhite(plain);
  for (bool more = true; more;) {
    more = false;
    for (std::string_view closer : kClosers) {
      if (plain.ends_with(closer)) {
        plain.remove_suffix(closer.size());
        more = true;
      }
    }
  }
  return std::any_of(std::begin(kEnds), std::end(kEnds), [&](std::string_view end) { return plain.ends_with(end); });
}

// A place the table of contents may point to.
struct Stop {
  std::int32_t start = 0;
  std::string title;
  bool afterPause = false;
  bool startsSentence = false;
};

std::vector<Stop> stopsOf(const Captions& captions) {
  TranscriptPlan unused;
  const CueList cues = inStartOrder(withText(captions, unused).cues);
  std::vector<Stop> stops;
  double previousEnd = 0;
  bool previousEndedSentence = true;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    const Cue& cue = cues[i];
    const std::string plain(trimWhite(renderCueText(cue.text, captions.dialect).plain));
    const double start = std::floor(cue.startTime);
    const bool afterPause = i == 0 || cue.startTime - previousEnd >= kLongPause;
    const bool startsSentence = previousEndedSentence;
    previousEnd = std::max(previousEnd, cue.endTime);
    previousEndedSentence = endsSentence(plain);
    if (!(start <= std::numeric_limits<std::int32_t>::max())) break;
    stops.push_back({static_cast<std::int32_t>(start), firstWords(plain), afterPause, startsSentence});
  }
  return stops;
}

// The stop for the entry after one at `last`: the next pause if it comes in
// time; else, where the captions go on past kLongestTocGap, the last sentence
// start (or cue) in time, or the next cue after a silence.
std::optional<std::size_t> nextStop(const std::vector<Stop>& stops, std::size_t from, std::int32_t last) {
  const auto far = [&](const Stop& stop) { return std::int64_t{stop.start} - last >= kTocSpacing; };
  std::optional<std::size_t> sentence;
  std::optional<std::size_t> anyCue;
  for (std::size_t i = from; i < stops.size(); ++i) {
    const Stop& stop = stops[i];
    if (std::int64_t{stop.start} - last > kLongestTocGap) {
      if (sentence) return sentence;
      return anyCue ? anyCue : i;
    }
    if (!far(stop)) continue;
    if (stop.afterPause) return i;
    if (stop.startsSentence) sentence = i;
    anyCue = i;
  }
  // The captions end within the stretch: no entry is wanting.
  return std::nullopt;
}

}  // namespace

TranscriptPlan planTranscript(const Captions& captions, const std::string& file) {
  TranscriptPlan plan;
  plan.cuesRead = captions.cues.size();
  for (const Cue& cue : inStartOrder(withText(captions, plan).cues)) {
    RenderedCue rendered = renderCueText(cue.text, captions.dialect);
    plan.segments.push_back({wholeSecondsDown(cue.startTime, file, cue.line), runOnLines(rendered.html)});
    plan.cues.push_back({cue.startTime, cue.endTime, std::move(rendered.html)});
  }
  if (plan.segments.empty()) throw Error(ErrorCode::InvalidArgument, noCues(file));
  return plan;
}

std::vector<TocEntry> chapterEntries(const Captions& chapters, const std::string& file) {
  std::vector<TocEntry> entries;
  for (const Cue& cue : inStartOrder(chapters.cues)) {
    std::string title(trimWhite(renderCueText(cue.text, chapters.dialect).plain));
    std::replace(title.begin(), title.end(), '\n', ' ');
    if (title.empty()) continue;
    entries.push_back({wholeSecondsDown(cue.startTime, file, cue.line), std::move(title)});
  }
  if (entries.empty()) throw Error(ErrorCode::InvalidArgument, noCues(file));
  return entries;
}

std::vector<TocEntry> tocEntries(const Captions& captions) {
  const std::vector<Stop> stops = stopsOf(captions);
  std::vector<TocEntry> entries;
  if (stops.empty()) return entries;
  entries.push_back({stops[0].start, stops[0].title});
  for (std::size_t from = 1;;) {
    const auto next = nextStop(stops, from, entries.back().start);
    if (!next) return entries;
    entries.push_back({stops[*next].start, stops[*next].title});
    from = *next + 1;
  }
}

}  // namespace reVoziz::lessonmaking
