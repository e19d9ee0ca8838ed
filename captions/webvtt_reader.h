#pragma once
// WebVTT files read by the W3C parsing rules: the signature, blocks, cue
// timings and cue text. NOTE, STYLE and REGION blocks give no cue; settings
// are read and ignored; a cue whose timing line does not parse, and any other
// block without a timing, is dropped with a warning.

#include <optional>
#include <string_view>

#include "captions/caption_text.h"
#include "captions/cue.h"

namespace reVoziz::captions {

// True when UTF-8 text (after an optional byte-order mark) starts with the
// WebVTT signature.
bool hasWebVttSignature(std::string_view raw);

// The cues in file order. Throws Error(InvalidArgument) when the signature is
// wrong.
Captions readWebVtt(const CaptionText& text);
Captions readWebVtt(std::string_view bytes, TextEncoding encoding = TextEncoding::Detect);

// A WebVTT timestamp ("01:02.345", "1:02:03.456") as seconds, or nothing.
std::optional<double> readWebVttTimestamp(std::string_view text);

}  // namespace reVoziz::captions
