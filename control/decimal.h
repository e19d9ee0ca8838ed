#pragma once
// Decimal reals in and out, as std::from_chars and std::to_chars do them.
// Reading takes an optional "-",
// digits with at most one ".", an optional exponent; no locale, no "+", no
// hexadecimal, no "inf" or "nan". Some standard libraries (the one the
// WebAssembly build uses) lack from_chars for doubles.

#include <charconv>
#include <string>

namespace reVoziz {

std::from_chars_result readDecimal(const char* first, const char* last, double& value);
// The shortest text that reads back as the same double.
std::string writeDecimal(double value);

}  // namespace reVoziz
