#include "captions/captions_file.h"

#include <fstream>
#include <sstream>

#include "captions/srt_reader.h"
#include "captions/webvtt_reader.h"
#include "core/error.h"

namespace reVoziz::captions {

Captions readCaptions(std::string_view raw) {
  if (hasWebVttSignature(raw)) return {CueDialect::WebVtt, readWebVtt(raw)};
  if (looksLikeSrt(raw)) return {CueDialect::Srt, readSrt(raw)};
  throw Error(ErrorCode::InvalidArgument, "not a WebVTT or SRT file");
}

Captions readCaptionsFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in || std::filesystem::is_directory(file)) {
    throw Error(ErrorCode::FileNotFound, file.string() + ": cannot read the file");
  }
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return readCaptions(text.str());
  } catch (const Error& e) {
    throw Error(e.code(), file.string() + ":1: " + e.what());
  }
}

}  // namespace reVoziz::captions
