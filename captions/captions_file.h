#pragma once
// A captions file of either format, told apart by its content.

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

// readCaptions on the bytes of the file `file`, which errors name with the
// line: Error(InvalidArgument) "FILE:1: not a WebVTT or SRT file". The caller
// reads the file, so that the readers need no files of their own.
Captions readCaptions(std::string_view raw, std::string_view file);

}  // namespace reVoziz::captions
