#pragma once
// SRT (SubRip) files: numbered cues with "HH:MM:SS,mmm --> HH:MM:SS,mmm"
// timings, read leniently as real files are written.

#include <string_view>

#include "captions/caption_text.h"
#include "captions/cue.h"

namespace reVoziz::captions {

// True when the first line that is not blank is a counter or a timing line,
// and some line of the text is a timing that parses.
bool looksLikeSrt(const CaptionText& text);
bool looksLikeSrt(std::string_view bytes);

// The cues in file order. A line with "-->" that is not a timing is cue
// text; a block whose timing line does not parse is dropped with a warning
// and the others are kept.
Captions readSrt(const CaptionText& text);
Captions readSrt(std::string_view bytes, TextEncoding encoding = TextEncoding::Detect);

}  // namespace reVoziz::captions
