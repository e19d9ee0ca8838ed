#pragma once
// The CSS of a style attribute, read as a browser reads it (comments, quoted
// strings, escapes, nested brackets): from outside the lesson, keeping only
// declarations that neither run script nor fetch anything.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reVoziz {

// `css` itself when every declaration is kept; otherwise the kept ones,
// comments gone, joined by "; ", or nothing.
std::string cleanedStyle(std::string_view css);

// The properties the declarations of `css` set, lower-cased; nothing when
// one of them cannot be read.
std::optional<std::vector<std::string>> declaredProperties(std::string_view css);

}  // namespace reVoziz
