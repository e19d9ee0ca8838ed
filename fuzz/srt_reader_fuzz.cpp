// The SRT reader on any bytes: every cue has finite, non-negative times,
// valid UTF-8 text, no U+FFFD without a warning, and renders to safe markup;
// a file that starts like SRT gives a cue.

#include <cstdint>
#include <string>

#include "captions/srt_reader.h"
#include "fuzz/caption_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace reVoziz;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const captions::Captions read = captions::readSrt(input);
  fuzz::requireSoundCues(read, input);
  fuzz::require(!captions::looksLikeSrt(input) || !read.cues.empty(),
                "a file that starts like SRT gave no cue", input);
  return 0;
}
