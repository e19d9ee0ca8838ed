#include "captions/captions_file.h"

#include <string>

#include "captions/srt_reader.h"
#include "captions/webvtt_reader.h"
#include "core/error.h"

namespace reVoziz::captions {
namespace {

Captions readText(const CaptionText& text) {
  if (hasWebVttSignature(text.text)) return readWebVtt(text);
  if (looksLikeSrt(text)) return readSrt(text);
  throw Error(ErrorCode::InvalidArgument, "not a WebVTT or SRT file");
}

}  // namespace

Captions readCaptions(std::string_view bytes, TextEncoding encoding) {
  return readText(decodeCaptionText(bytes, encoding));
}

Captions readCaptions(std::string_view bytes, std::string_view file, TextEncoding encoding) {
  try {
    return readCaptions(bytes, encoding);
  } catch (const Error& e) {
    throw Error(e.code(), std::string(file) + ":1: " + e.what());
  }
}

}  // namespace reVoziz::captions
