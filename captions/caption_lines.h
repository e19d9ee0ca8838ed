#pragma once
// The lines of a caption file, as both readers split them.

#include <string>
#include <string_view>
#include <vector>

namespace reVoziz::captions {

// The text without a leading byte-order mark, with NUL replaced by U+FFFD and
// every CRLF, lone CR and LF turned into one LF. Malformed UTF-8 stays as it is.
std::string normalizeCaptionText(std::string_view raw);

// The lines of normalized text; a final LF does not start another line.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace reVoziz::captions
