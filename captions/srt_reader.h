#pragma once
// SRT (SubRip) files: numbered cues with "HH:MM:SS,mmm --> HH:MM:SS,mmm"
// timings, read leniently as real files are written.

#include <string_view>

#include "captions/cue.h"

namespace reVoziz::captions {

// True when the first line that is not blank starts an SRT cue: a counter
// followed by a timing line, or a timing line.
bool looksLikeSrt(std::string_view raw);

// The cues in file order; a cue whose timing line does not parse is dropped.
CueList readSrt(std::string_view raw);

}  // namespace reVoziz::captions
