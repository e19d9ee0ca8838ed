#pragma once
// Text made safe for HTML written by the lesson maker.

#include <string>
#include <string_view>

namespace reVoziz::captions {

// Escapes &, <, > and " so that the text reads back as itself, in element
// content and in double-quoted attribute values alike.
std::string escapeHtml(std::string_view text);
void appendEscapedHtml(std::string& out, std::string_view text);

}  // namespace reVoziz::captions
