#pragma once
// Text made safe for HTML that we write ourselves: cue text, and what the
// cleaning of untrusted markup puts in place of what it takes out.

#include <string>
#include <string_view>

namespace reVoziz {

// Escapes &, <, > and " so that the text reads back as itself, in element
// content and in double-quoted attribute values alike.
std::string escapeHtml(std::string_view text);
void appendEscapedHtml(std::string& out, std::string_view text);

}  // namespace reVoziz
