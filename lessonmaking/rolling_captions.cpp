#include "lessonmaking/rolling_captions.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "captions/caption_lines.h"
#include "captions/cue_markup.h"

namespace reVoziz::lessonmaking {

using captions::trimWhite;
namespace {

using captions::Cue;
using captions::CueDialect;

// A cue's lines as read, and the words of those that have any.
struct CueLines {
  std::vector<std::string_view> raw;      // with markup, blank ones too
  std::vector<std::size_t> worded;        // indexes into `raw` of lines with words
  std::vector<std::string> words;         // plain text of those lines
  bool timestamps = false;
};

CueLines linesOf(const Cue& cue, CueDialect dialect) {
  CueLines lines;
  lines.raw = captions::splitLines(cue.text);
  for (std::size_t i = 0; i < lines.raw.size(); ++i) {
    const captions::RenderedCue rendered = captions::renderCueText(lines.raw[i], dialect);
    lines.timestamps = lines.timestamps || rendered.hasTimestamps;
    std::string plain(trimWhite(rendered.plain));
    if (plain.empty()) continue;
    lines.worded.push_back(i);
    lines.words.push_back(std::move(plain));
  }
  return lines;
}

// How many of the later cue's first worded lines repeat the earlier's last ones.
std::size_t repeatedHead(const CueLines& earlier, const CueLines& later) {
  for (std::size_t n = std::min(earlier.words.size(), later.words.size()); n > 0; --n) {
    if (std::equal(later.words.begin(), later.words.begin() + static_cast<std::ptrdiff_t>(n),
                   earlier.words.end() - static_cast<std::ptrdiff_t>(n))) {
      return n;
    }
  }
  return 0;
}

// Whether `later` rolls on from `earlier`, repeating `repeated` of its lines:
// timestamps or an earlier roll say the file rolls; otherwise the earlier cue
// must scroll (lose its first line) and the later follow at once.
bool rollsOn(const Cue& earlier, const CueLines& earlierLines, bool earlierRolled, const Cue& later,
             std::size_t repeated) {
  if (repeated == 0 || later.startTime < earlier.startTime) return false;
  if (earlierLines.timestamps || earlierRolled) return true;
  return repeated < earlierLines.words.size() && later.startTime - earlier.endTime <= kRollingGap;
}

}  // namespace

KeptCues dropRolledLines(const captions::CueList& cues, CueDialect dialect) {
  KeptCues kept;
  CueLines previous;
  bool previousRolled = false;
  for (std::size_t i = 0; i < cues.size(); ++i) {
    const Cue& cue = cues[i];
    CueLines lines = linesOf(cue, dialect);
    std::size_t repeated = i > 0 ? repeatedHead(previous, lines) : 0;
    if (i > 0 && !rollsOn(cues[i - 1], previous, previousRolled, cue, repeated)) repeated = 0;
    previousRolled = repeated > 0;
    if (repeated == 0) {
      kept.cues.push_back(cue);
    } else if (repeated == lines.words.size()) {
      ++kept.dropped;
      kept.warnings.push_back({cue.line, "the cue only repeats the lines before it, as rolling captions do; "
                                         "it is left out"});
    } else {
      Cue fresh = cue;
      fresh.text.clear();
      for (std::size_t j = lines.worded[repeated]; j < lines.raw.size(); ++j) {
        if (!fresh.text.empty()) fresh.text += '\n';
        fresh.text += lines.raw[j];
      }
      kept.cues.push_back(std::move(fresh));
    }
    previous = std::move(lines);
  }
  return kept;
}

}  // namespace reVoziz::lessonmaking
