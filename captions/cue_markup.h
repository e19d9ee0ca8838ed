#pragma once
// Cue text markup turned into a small safe set of HTML: b, i, u, ruby and rt
// stay, a voice becomes a speaker label, <br> a line break, inline timestamps
// and subtitle editors' position codes ({\an8}) go, and any other tag is
// dropped with its text kept. Character references are decoded, the named
// ones by HTML's whole table.

#include <string>
#include <string_view>

#include "captions/cue.h"

namespace reVoziz::captions {

struct RenderedCue {
  std::string html;   // safe markup; lines end with <br>
  std::string plain;  // the words alone, lines joined by "\n"
  bool hasTimestamps = false;  // inline word timestamps such as <00:00:01.200>
};

RenderedCue renderCueText(std::string_view text, CueDialect dialect);

}  // namespace reVoziz::captions
