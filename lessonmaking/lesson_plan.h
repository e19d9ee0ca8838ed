#pragma once
// What a lesson made from captions shows: its transcripts, one segment per
// cue, and its table of contents.

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

struct Transcript {
  std::string language;  // as given on the command line, e.g. "es"
  std::vector<Segment> segments;
};

struct TocEntry {
  std::int32_t start = 0;
  std::string title;  // plain text
};

// Rolling captions (those with inline word timestamps) show each line twice,
// the second time as the head of the next cue; this keeps only the lines that
// a cue adds to the one before it, and drops cues that add none.
CueList dropRolledLines(const CueList& cues, CueDialect dialect);

// One segment per cue with text, in order of start. `file` names the captions
// in errors (a start past the 32-bit seconds range).
std::vector<Segment> segmentsOf(const Captions& captions, const std::string& file);

// One entry per chapter cue.
std::vector<TocEntry> chapterEntries(const Captions& chapters, const std::string& file);

// An entry at the first cue and at each cue that follows a pause of at least
// `kLongPause` seconds, at most one a minute, titled with the cue's first words.
inline constexpr double kLongPause = 2.0;
std::vector<TocEntry> pauseEntries(const Captions& captions);

}  // namespace reVoziz::lessonmaking
