#pragma once
// One timed caption as the readers give it.

#include <string>
#include <vector>

namespace reVoziz::captions {

struct Cue {
  std::string id;
  double startTime = 0;  // seconds, finite and not negative
  double endTime = 0;
  std::string text;  // the cue's raw text, its lines joined by "\n"
  int line = 0;      // the line of the file where the cue's timing stands
};

using CueList = std::vector<Cue>;

}  // namespace reVoziz::captions
