// The Windows-1252 stored form of notes pages: decoding what was encoded gives
// well-formed UTF-8 text back unchanged, and any stored bytes decode to
// well-formed UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

#include "documents/stored_form.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/utf8_reference.h"

using reVoziz::fuzz::require;
using reVoziz::fuzz::strictUtf8;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string stored = reVoziz::toStoredForm(input);
  if (strictUtf8(input)) {
    require(reVoziz::fromStoredForm(stored) == input, "decoding the stored form changes the text",
            input);
  }
  require(strictUtf8(reVoziz::fromStoredForm(input)).has_value(),
          "stored bytes decode to malformed UTF-8", input);
  return 0;
}
