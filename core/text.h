#pragma once
// Text rules shared by the whole library. Strings are UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace reVoziz {

// Lower-cases by the simple case mapping of Unicode, the same on every host and
// in every locale: "ÍNDICE" gives "índice". Malformed UTF-8 bytes pass through.
std::string lowerCase(std::string_view s);

// Appends the UTF-8 form of the code point `c`.
void appendUtf8(std::string& out, char32_t c);

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The code point that starts at byte `i` of `s`, moving `i` past it. A malformed
// byte gives kReplacementCharacter and moves one byte on.
char32_t nextCodePoint(std::string_view s, std::size_t& i);

// Removes leading and trailing spaces (U+0020) only; tabs and line breaks stay.
std::string trimSpaces(std::string_view s);

}  // namespace reVoziz
