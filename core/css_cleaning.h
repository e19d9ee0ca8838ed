#pragma once
// The CSS of a style attribute from outside the lesson, read as a browser
// reads it (comments, quoted strings, escapes, nested brackets), keeping only
// declarations that neither run script nor fetch anything.

#include <string>
#include <string_view>

namespace reVoziz {

// The declarations of `css` that are kept, comments gone, joined by "; ";
// empty when none is.
std::string cleanedStyle(std::string_view css);

}  // namespace reVoziz
