#pragma once
// Rolling captions show each line twice: first at the foot of a cue, then at
// the head of the next, as the text scrolls up. A lesson wants each line once.

#include <cstddef>

#include "captions/cue.h"

namespace reVoziz::lessonmaking {

struct KeptCues {
  captions::CueList cues;
  captions::CaptionWarnings warnings;  // one for each cue left out
  std::size_t dropped = 0;
};

// Seconds between two cues that still count as one rolling after the other.
inline constexpr double kRollingGap = 1.0;

// The cues in file order, each without the head lines it repeats from the
// foot of the cue before, where it rolls on from that cue: the earlier cue
// has word timestamps or rolled itself, or else it scrolls (the later keeps
// fewer of its lines than it has) and the later follows within kRollingGap.
// Ordinary captions that say the same thing twice (a chorus, a second
// greeting) keep both. A cue left with no line is dropped and warned of.
KeptCues dropRolledLines(const captions::CueList& cues, captions::CueDialect dialect);

}  // namespace reVoziz::lessonmaking
