#pragma once
// Decimal reals in and out, as std::from_chars and std::to_chars do them.
// Reading takes an optional "-", digits with at most one ".", an optional
// exponent; no locale, no "+", no hexadecimal. Callers never hand over "inf"
// or "nan", which only from_chars would read. Some
// standard libraries (the one the WebAssembly build uses) lack from_chars and
// to_chars for doubles; the portable versions stand in for them there.

#include <charconv>
#include <string>
#include <string_view>

namespace reVoziz {

std::from_chars_result readDecimal(const char* first, const char* last, double& value);
// The shortest text that reads back as the same double.
std::string writeDecimal(double value);

// The same over strtod and snprintf in the "C" locale.
std::from_chars_result readDecimalPortable(const char* first, const char* last, double& value);
std::string writeDecimalPortable(double value);

// "&H" and "&O" integers: the leading hexadecimal (octal) digits of `text`,
// rounded to the nearest real, halves to even, however many there are.
bool isHexDigit(char c);
double readHexInteger(std::string_view text);
double readOctalInteger(std::string_view text);

}  // namespace reVoziz
