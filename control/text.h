#pragma once
// Text rules shared by the whole library. Strings are UTF-8.

#include <string>
#include <string_view>

namespace reVoziz {

// Lower-cases letters beyond ASCII too: "ÍNDICE" gives "índice".
std::string lowerCase(std::string_view s);

// Removes leading and trailing spaces (U+0020) only; tabs and line breaks stay.
std::string trimSpaces(std::string_view s);

}  // namespace reVoziz
