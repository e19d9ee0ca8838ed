#pragma once
// Something a reader noticed in a captions file and worked around: the cues
// are still read, and the teacher is told where to look.

#include <string>
#include <string_view>
#include <vector>

namespace reVoziz::captions {

struct CaptionWarning {
  int line = 0;  // the line of the file, from 1
  std::string message;
};

using CaptionWarnings = std::vector<CaptionWarning>;

// "FILE:LINE: warning: MESSAGE", as tools print it.
std::string describeWarning(std::string_view file, const CaptionWarning& warning);

}  // namespace reVoziz::captions
