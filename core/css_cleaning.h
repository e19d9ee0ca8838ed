#pragma once
// The CSS of a style attribute from outside the lesson, read as a browser
// reads it (comments, quoted strings, escapes, nested brackets), keeping only
// declarations that neither run script nor fetch anything.

#include <string>
#include <string_view>

namespace reVoziz {

// `css` itself when every declaration is kept; otherwise the kept ones,
// comments gone, joined by "; ", or nothing.
std::string cleanedStyle(std::string_view css);

}  // namespace reVoziz
