#pragma once
// What any cue a caption reader gives must hold: times that are finite and
// not negative, ids and text that are valid UTF-8, no U+FFFD that the file
// did not hold without a warning, and cue text whose rendering holds no
// markup beyond the safe set.

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "captions/cue.h"
#include "captions/cue_markup.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/utf8_reference.h"

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

// U+FFFD as the file may hold it itself: in UTF-8 or in UTF-16 of either order.
inline bool mayHoldReplacement(std::string_view input) {
  return input.find("\xEF\xBF\xBD") != std::string_view::npos ||
         input.find("\xFD\xFF") != std::string_view::npos ||
         input.find("\xFF\xFD") != std::string_view::npos;
}

inline void requireSoundCues(const captions::Captions& captions, std::string_view input) {
  constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  const bool warned = !captions.warnings.empty();
  for (const captions::CaptionWarning& warning : captions.warnings) {
    require(warning.line >= 1 && !warning.message.empty(), "a warning without its line or message", input);
  }
  for (const captions::Cue& cue : captions.cues) {
    require(std::isfinite(cue.startTime) && cue.startTime >= 0, "a start that is not a finite, non-negative time", input);
    require(std::isfinite(cue.endTime) && cue.endTime >= 0, "an end that is not a finite, non-negative time", input);
    require(cue.line >= 1, "a cue without its line", input);
    require(strictUtf8(cue.text) && strictUtf8(cue.id), "cue text or id that is not UTF-8", input);
    require(warned || mayHoldReplacement(input) ||
                (cue.text.find(kReplacement) == std::string::npos && cue.id.find(kReplacement) == std::string::npos),
            "U+FFFD in a cue without a warning", input);
    const std::string html = captions::renderCueText(cue.text, captions.dialect).html;
    require(strictUtf8(html).has_value(), "a rendered cue that is not UTF-8", input);
    requireSafeMarkup(html, input);
  }
}

}  // namespace reVoziz::fuzz
