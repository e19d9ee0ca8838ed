#pragma once
// Text rules shared by the whole library. Strings are UTF-8.

#include <string>
#include <string_view>

namespace reVoziz {

// Lower-cases by the simple case mapping of Unicode, the same on every host and
// in every locale: "ÍNDICE" gives "índice". Malformed UTF-8 bytes pass through.
std::string lowerCase(std::string_view s);

// Removes leading and trailing spaces (U+0020) only; tabs and line breaks stay.
std::string trimSpaces(std::string_view s);

}  // namespace reVoziz
