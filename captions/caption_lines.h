#pragma once
// The lines of a caption file, as both readers split them.

#include <string_view>
#include <vector>

namespace reVoziz::captions {

// The lines of decoded text (see caption_text.h); a final LF does not start
// another line.
std::vector<std::string_view> splitLines(std::string_view text);

// The text without the spaces, tabs and line feeds around it: a cue's text as
// the lesson maker compares and titles it.
std::string_view trimWhite(std::string_view s);

}  // namespace reVoziz::captions
