#pragma once
// What a lesson made from captions shows: its transcripts, one segment per
// cue, and its table of contents.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "captions/captions_file.h"

namespace reVoziz::lessonmaking {

using captions::Captions;
using captions::Cue;
using captions::CueDialect;
using captions::CueList;

struct Segment {
  std::int32_t start = 0;  // whole seconds, rounded down
  std::string html;        // safe markup
};

// A cue as the captions track shows it: cleaned as its segment is, with its
// own times and its line breaks.
struct TimedCue {
  double start = 0;  // seconds
  double end = 0;
  std::string html;  // safe markup, lines ended by <br>
};

struct Transcript {
  std::string language;  // as given on the command line, e.g. "es"
  std::vector<Segment> segments;
};

struct TocEntry {
  std::int32_t start = 0;
  std::string title;  // plain text
};

// A transcript's segments, with what became of the cues on the way.
struct TranscriptPlan {
  std::vector<Segment> segments;
  std::vector<TimedCue> cues;               // one per segment
  std::size_t cuesRead = 0;
  std::size_t cuesDropped = 0;              // rolled away or without text
  captions::CaptionWarnings warnings;       // one for each cue dropped, in line order
};

// One segment per cue with text, in order of start, each cue's lines run
// together as one paragraph. `file` names the captions in errors: a start past
// the 32-bit seconds range, or no cue with text at all (Error InvalidArgument).
TranscriptPlan planTranscript(const Captions& captions, const std::string& file);

// One entry per chapter cue; none at all is an error naming `file`.
std::vector<TocEntry> chapterEntries(const Captions& chapters, const std::string& file);

// An entry at the first cue and at each cue that follows a pause of at least
// `kLongPause` seconds, at most one a minute. Where pauses are fewer, an entry
// at least every `kLongestTocGap` seconds: at the last sentence that starts
// by then (a cue after one that ends in . ? ! …), else at the last cue.
// Titled with the cue's first words.
inline constexpr double kLongPause = 2.0;
inline constexpr std::int32_t kLongestTocGap = 300;
std::vector<TocEntry> tocEntries(const Captions& captions);

}  // namespace reVoziz::lessonmaking
