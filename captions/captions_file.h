#pragma once
// A captions file of either format, told apart by its content.

#include <filesystem>
#include <string_view>

#include "captions/cue.h"
#include "captions/cue_markup.h"

namespace reVoziz::captions {

struct Captions {
  CueDialect dialect = CueDialect::WebVtt;
  CueList cues;
};

// WebVTT when the text carries the signature, else SRT when it starts like
// SRT. Throws Error(InvalidArgument) for anything else.
Captions readCaptions(std::string_view raw);

// readCaptions on a file. Errors name the file and the line:
// Error(FileNotFound) when it cannot be read, Error(InvalidArgument)
// "FILE:1: not a WebVTT or SRT file".
Captions readCaptionsFile(const std::filesystem::path& file);

}  // namespace reVoziz::captions
