#include "lessonmaking/captions_track.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "lessonmaking/language_names.h"
#include "pagemodel/html_parser.h"

namespace reVoziz::lessonmaking {
namespace {

using pagemodel::NodeKind;
using pagemodel::NodePtr;

// The tags that mean the same in WebVTT cue text as in the cleaned markup.
constexpr std::array<std::string_view, 5> kSharedTags = {"b", "i", "u", "ruby", "rt"};

// "HH:MM:SS.mmm", the hours as many digits as they need.
std::string timestamp(double seconds) {
  const auto millis = static_cast<std::int64_t>(std::llround(std::max(seconds, 0.0) * 1000));
  const auto padded = [](std::int64_t n, std::size_t width) {
    std::string digits = std::to_string(n);
    if (digits.size() < width) digits.insert(digits.begin(), width - digits.size(), '0');
    return digits;
  };
  return padded(millis / 3'600'000, 2) + ':' + padded(millis / 60'000 % 60, 2) + ':' +
         padded(millis / 1000 % 60, 2) + '.' + padded(millis % 1000, 3);
}

// WebVTT reads &, < and > as markup in cue text; "-->" cannot end a line of it.
void appendEscapedCueText(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      default: out += c;
    }
  }
}

void appendCueText(std::string& out, const NodePtr& node) {
  if (node->kind() == NodeKind::Text) {
    appendEscapedCueText(out, node->data());
    return;
  }
  if (!node->isElement()) return;
  if (node->tag() == "br") {
    out += '\n';
    return;
  }
  const bool shared = std::find(kSharedTags.begin(), kSharedTags.end(), node->tag()) != kSharedTags.end();
  if (shared) out += '<' + node->tag() + '>';
  for (const NodePtr& child : node->children()) appendCueText(out, child);
  if (shared) out += "</" + node->tag() + '>';
}

// The cue's lines without the spaces around them; a blank line would end the
// cue early, so none is kept.
std::string cueLines(const std::string& html) {
  std::string text;
  for (const NodePtr& node : pagemodel::parseFragment(html, "div")) appendCueText(text, node);
  std::string lines;
  for (std::size_t at = 0; at <= text.size();) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    std::string_view line = std::string_view(text).substr(at, end - at);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string_view::npos) {
      line = line.substr(first, line.find_last_not_of(" \t") - first + 1);
      if (!lines.empty()) lines += '\n';
      lines += line;
    }
    at = end + 1;
  }
  return lines;
}

}  // namespace

std::string captionsTrackFile(const std::string& language) { return "captions_" + lowerCaseTag(language) + ".vtt"; }

std::string captionsTrack(const std::vector<TimedCue>& cues) {
  std::string out = "WEBVTT\n";
  for (const TimedCue& cue : cues) {
    const std::string lines = cueLines(cue.html);
    if (lines.empty()) continue;
    out += '\n' + timestamp(cue.start) + " --> " + timestamp(std::max(cue.end, cue.start)) + '\n' + lines + '\n';
  }
  return out;
}

}  // namespace reVoziz::lessonmaking
