// lowerCase: valid UTF-8 stays valid with as many code points; lower-casing
// twice changes nothing more; ASCII changes only from capitals to small letters.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/utf8_reference.h"

using reVoziz::fuzz::require;
using reVoziz::fuzz::strictUtf8;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string once = reVoziz::lowerCase(input);
  require(reVoziz::lowerCase(once) == once, "lower-casing twice differs from once", input);
  if (const auto in = strictUtf8(input)) {
    const auto out = strictUtf8(once);
    require(out && out->size() == in->size(), "valid UTF-8 in, not as many code points out", input);
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
