// The SRT reader on any bytes: every cue has finite, non-negative times and
// renders to safe markup, and a file that starts like SRT gives a cue.

#include <cstdint>
#include <string>

#include "captions/srt_reader.h"
#include "fuzz/caption_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace reVoziz;
  const std::string input(reinterpret_cast<const char*>(data), size);
  const captions::CueList cues = captions::readSrt(input);
  fuzz::requireSoundCues(cues, captions::CueDialect::Srt, input);
  fuzz::require(!captions::looksLikeSrt(input) || !cues.empty(),
                "a file that starts like SRT gave no cue", input);
  return 0;
}
