// secondsToTime, then timeToSeconds: every 32-bit number of seconds comes back
// as its absolute value, written in the TimeCode form; the one number without
// an absolute value fails with Overflow.

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/time_code.h"
#include "fuzz/fuzz_check.h"

namespace {

using reVoziz::fuzz::require;

bool isDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

// "H...H:MM:SS": hours of at least two digits without a needless leading zero,
// minutes and seconds of two digits below 60.
bool isWrittenTimeCode(std::string_view s) {
  const auto first = s.find(':');
  const auto second = s.find(':', first + 1);
  if (first == std::string_view::npos || second != first + 3 || s.size() != second + 3) return false;
  const std::string_view hours = s.substr(0, first);
  const std::string_view minutes = s.substr(first + 1, 2);
  const std::string_view seconds = s.substr(second + 1, 2);
  return isDigits(hours) && hours.size() >= 2 && (hours.size() == 2 || hours[0] != '0') &&
         isDigits(minutes) && minutes[0] < '6' && isDigits(seconds) && seconds[0] < '6';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, data, size < sizeof bits ? size : sizeof bits);
  const auto t = static_cast<std::int32_t>(bits);
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string written;
  try {
    written = reVoziz::secondsToTime(t);
  } catch (const reVoziz::Error& e) {
    require(t == std::numeric_limits<std::int32_t>::min() && e.code() == reVoziz::ErrorCode::Overflow,
            "secondsToTime failed", input);
    return 0;
  }
  require(t != std::numeric_limits<std::int32_t>::min(), "no overflow for -2147483648", input);
  require(isWrittenTimeCode(written), "not a written TimeCode: " + written, input);
  const std::int64_t magnitude = t < 0 ? -static_cast<std::int64_t>(t) : t;
  require(reVoziz::timeToSeconds(written) == magnitude, "round trip differs: " + written, input);
  return 0;
}
