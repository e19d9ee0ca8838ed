// The WebVTT reader on any bytes: it reads a file with the signature and
// refuses one without; every cue has finite, non-negative times, valid UTF-8
// text, no U+FFFD without a warning, and renders to safe markup. The cue list
// must not depend on the line ends used.

#include <cstdint>
#include <string>

#include "captions/webvtt_reader.h"
#include "core/error.h"
#include "fuzz/caption_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace reVoziz;
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  // Half the inputs get the signature, so that the blocks behind it are reached.
  const std::string input = size % 2 ? "WEBVTT\n" + std::string(raw) : std::string(raw);
  const bool hasSignature = captions::hasWebVttSignature(captions::decodeCaptionText(input).text);
  captions::Captions read;
  try {
    read = captions::readWebVtt(input);
  } catch (const Error&) {
    fuzz::require(!hasSignature, "a file with the signature was refused", input);
    return 0;
  }
  fuzz::require(hasSignature, "a file without the signature was read", input);
  fuzz::requireSoundCues(read, input);
  // The same file with CRLF line ends reads the same (UTF-16 aside, whose
  // line ends are two bytes).
  const bool utf16 = input.starts_with("\xFF\xFE") || input.starts_with("\xFE\xFF");
  if (input.find('\r') == std::string::npos && !utf16) {
    std::string crlf;
    for (const char c : input) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    fuzz::require(captions::readWebVtt(crlf).cues.size() == read.cues.size(), "CRLF line ends change the cues", input);
  }
  return 0;
}
