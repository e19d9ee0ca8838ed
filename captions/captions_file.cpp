#include "captions/captions_file.h"

#include <string>

#include "captions/srt_reader.h"
#include "captions/webvtt_reader.h"
#include "core/error.h"

namespace reVoziz::captions {

Captions readCaptions(std::string_view raw) {
  if (hasWebVttSignature(raw)) return {CueDialect::WebVtt, readWebVtt(raw)};
  if (looksLikeSrt(raw)) return {CueDialect::Srt, readSrt(raw)};
  throw Error(ErrorCode::InvalidArgument, "not a WebVTT or SRT file");
}

Captions readCaptions(std::string_view raw, std::string_view file) {
  try {
    return readCaptions(raw);
  } catch (const Error& e) {
    throw Error(e.code(), std::string(file) + ":1: " + e.what());
  }
}

}  // namespace reVoziz::captions
