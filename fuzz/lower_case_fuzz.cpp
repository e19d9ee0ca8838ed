// lowerCase: valid UTF-8 stays valid with as many code points; lower-casing
// twice changes nothing more; ASCII changes only from capitals to small letters.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "control/text.h"
#include "fuzz/fuzz_check.h"

namespace {

using reVoziz::fuzz::require;

// The number of code points of well-formed UTF-8 (RFC 3629), or none.
std::optional<std::size_t> codePoints(std::string_view s) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < s.size(); ++count) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    std::size_t length = 1;
    std::uint32_t c = b(i);
    if (c >= 0x80) {
      if (c >= 0xC2 && c <= 0xDF) length = 2;
      else if (c >= 0xE0 && c <= 0xEF) length = 3;
      else if (c >= 0xF0 && c <= 0xF4) length = 4;
      else return std::nullopt;
      if (i + length > s.size()) return std::nullopt;
      c &= 0x3F >> (length - 1);
      for (std::size_t k = 1; k < length; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return std::nullopt;
        c = c << 6 | (b(i + k) & 0x3F);
      }
      const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
      if (c < smallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    }
    i += length;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string once = reVoziz::lowerCase(input);
  require(reVoziz::lowerCase(once) == once, "lower-casing twice differs from once", input);
  if (const auto count = codePoints(input)) {
    require(codePoints(once) == count, "valid UTF-8 in, not as many code points out", input);
  }
  // Pure ASCII changes only from "A"-"Z" to "a"-"z".
  if (std::all_of(input.begin(), input.end(), [](char c) { return (c & 0x80) == 0; })) {
    std::string ascii(input);
    for (char& c : ascii) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    require(once == ascii, "ASCII lower-cased wrongly", input);
  }
  return 0;
}
