// pageExtract against a reference that works on UTF-16 code units, as the
// positions of the rule count them: the text strictly between the first and the
// last occurrence of the key, the empty text without one, and InvalidArgument
// when the key occurs once. The first byte of the input gives the key's length,
// the key follows, the page is the rest.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/started_flag.h"
#include "control/tq.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/utf8_reference.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"

namespace {

using reVoziz::fuzz::require;
using reVoziz::fuzz::strictUtf8;

std::u16string utf16(const std::u32string& text) {
  std::u16string out;
  for (char32_t c : text) {
    if (c < 0x10000) {
      out += static_cast<char16_t>(c);
    } else {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
  }
  return out;
}

std::string utf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      out += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
              static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      out += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
              static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return out;
}

reVoziz::tq& startedControl() {
  static reVoziz::pagemodel::ManualClock clock;
  static reVoziz::pagemodel::ModelPlatform platform(clock);
  static reVoziz::tq control(platform);
  reVoziz::setStartedFlag();  // pageExtract answers only once the notes are enabled
  return control;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string_view key = input.substr(1, data[0] % 16);
  const std::string_view page = input.substr(1 + key.size());

  std::string result;
  bool invalid = false;
  try {
    result = startedControl().pageExtract(page, key);
  } catch (const reVoziz::Error& e) {
    require(e.code() == reVoziz::ErrorCode::InvalidArgument, "pageExtract failed otherwise", input);
    invalid = true;
  }

  const auto page32 = strictUtf8(page);
  const auto key32 = strictUtf8(key);
  if (!page32 || !key32 || key.empty()) return 0;  // the reference speaks of text only
  const std::u16string page16 = utf16(*page32), key16 = utf16(*key32);
  const std::size_t first = page16.find(key16);
  if (first == std::u16string::npos) {
    require(!invalid && result.empty(), "text for a page without the key", input);
    return 0;
  }
  const std::size_t start = first + key16.size();
  const std::size_t last = page16.rfind(key16);
  if (last < start) {
    require(invalid, "no InvalidArgument for a key that occurs once", input);
    return 0;
  }
  require(!invalid && result == utf8(page16.substr(start, last - start)),
          "not the text between the first and the last key", input);
  return 0;
}
