#pragma once
// Windows-1252, the single-byte code page of Western European Windows.

#include <array>

namespace reVoziz {

// Bytes 0x80 to 0x9F. The five that Windows-1252 leaves undefined stand for
// the control characters of the same number, as on Windows.
inline constexpr std::array<char32_t, 32> kWindows1252HighBytes = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code point of a Windows-1252 byte; every byte has one.
constexpr char32_t windows1252CodePoint(unsigned char b) {
  return (b >= 0x80 && b <= 0x9F) ? kWindows1252HighBytes[b - 0x80] : b;
}

}  // namespace reVoziz
