#pragma once
// One timed caption as the readers give it, and what a reader gives for a file.

#include <string>
#include <vector>

#include "captions/caption_warning.h"

namespace reVoziz::captions {

struct Cue {
  std::string id;
  double startTime = 0;  // seconds, finite and not negative
  double endTime = 0;
  std::string text;  // the cue's raw text, its lines joined by "\n"
  int line = 0;      // the line of the file where the cue's timing stands
};

using CueList = std::vector<Cue>;

enum class CueDialect { WebVtt, Srt };

// The cues of a file, in file order, with what the reader had to work around.
struct Captions {
  CueDialect dialect = CueDialect::WebVtt;
  CueList cues;
  CaptionWarnings warnings;
};

}  // namespace reVoziz::captions
