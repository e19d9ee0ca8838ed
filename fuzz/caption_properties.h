#pragma once
// What any cue a caption reader gives must hold: times that are finite and
// not negative, and cue text whose rendering holds no markup beyond the safe
// set.

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "captions/cue.h"
#include "captions/cue_markup.h"
#include "fuzz/fuzz_check.h"

namespace reVoziz::fuzz {

inline void requireSafeMarkup(std::string_view html, std::string_view input) {
  static constexpr std::array<std::string_view, 14> kAllowed = {
      "<b>", "</b>", "<i>", "</i>", "<u>", "</u>", "<ruby>", "</ruby>",
      "<rt>", "</rt>", "<br>", "<span class=\"speaker\">", "</span>", ""};
  for (std::size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
    const std::size_t close = html.find('>', at);
    require(close != std::string_view::npos, "a tag is left open in the rendered cue", input);
    const std::string_view tag = html.substr(at, close - at + 1);
    require(std::find(kAllowed.begin(), kAllowed.end(), tag) != kAllowed.end(),
            "the rendered cue holds a tag outside the safe set", input);
  }
  // The speaker's name is escaped, so a quote can only close the class attribute.
  require(html.find('"') == std::string_view::npos ||
              html.find("\"speaker\"") != std::string_view::npos,
          "a quote outside the speaker label", input);
}

inline void requireSoundCues(const captions::CueList& cues, captions::CueDialect dialect,
                             std::string_view input) {
  for (const captions::Cue& cue : cues) {
    require(std::isfinite(cue.startTime) && cue.startTime >= 0, "a start that is not a finite, non-negative time", input);
    require(std::isfinite(cue.endTime) && cue.endTime >= 0, "an end that is not a finite, non-negative time", input);
    require(cue.line >= 1, "a cue without its line", input);
    requireSafeMarkup(captions::renderCueText(cue.text, dialect).html, input);
  }
}

}  // namespace reVoziz::fuzz
