#pragma once
// A progress bar for long steps, drawn in place on a terminal and left out
// where standard error goes to a file or a pipe.

#include <functional>
#include <ostream>
#include <string>

namespace reVoziz::tools {

// A callback taking the share done (0 to 1) that redraws
// "LABEL [#####.....]  42%" on `err` when it changes, and ends the line at 1.
std::function<void(double)> progressBar(std::ostream& err, std::string label, bool terminal);

}  // namespace reVoziz::tools
