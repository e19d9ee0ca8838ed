#pragma once
// Cues as a JSON array, for `revoziz lesson cues`.

#include <string>

#include "captions/cue.h"

namespace reVoziz::captions {

// One object per cue, in order: {"id", "startTime", "endTime", "text"}, times
// in seconds. Malformed UTF-8 in the file comes out as U+FFFD.
std::string cuesToJson(const CueList& cues);

}  // namespace reVoziz::captions
