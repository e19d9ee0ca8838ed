#pragma once
// A captions file of either format, told apart by its content.

#include <string_view>

#include "captions/caption_text.h"
#include "captions/cue.h"

namespace reVoziz::captions {

// The file's text (see decodeCaptionText) read as WebVTT when it carries the
// signature, else as SRT when it starts like SRT. Throws
// Error(InvalidArgument) for anything else. Decoding warnings come first in
// the result, then the reader's, each in line order.
Captions readCaptions(std::string_view bytes, TextEncoding encoding = TextEncoding::Detect);

// readCaptions on the bytes of the file `file`, which errors name with the
// line: Error(InvalidArgument) "FILE:1: not a WebVTT or SRT file". The caller
// reads the file, so that the readers need no files of their own.
Captions readCaptions(std::string_view bytes, std::string_view file,
                      TextEncoding encoding = TextEncoding::Detect);

}  // namespace reVoziz::captions
