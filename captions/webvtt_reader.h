#pragma once
// WebVTT files read by the W3C parsing rules: the signature, blocks, cue
// timings and cue text. NOTE, STYLE and REGION blocks give no cue; settings
// are read and ignored; a cue whose timing line does not parse is dropped.

#include <optional>
#include <string_view>

#include "captions/cue.h"

namespace reVoziz::captions {

// True when the text (after an optional byte-order mark) starts with the
// WebVTT signature.
bool hasWebVttSignature(std::string_view raw);

// The cues in file order. Throws Error(InvalidArgument) when the signature is
// wrong.
CueList readWebVtt(std::string_view raw);

// A WebVTT timestamp ("01:02.345", "1:02:03.456") as seconds, or nothing.
std::optional<double> readWebVttTimestamp(std::string_view text);

}  // namespace reVoziz::captions
