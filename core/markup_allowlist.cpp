#include "core/markup_allowlist.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/text.h"

namespace reVoziz {
namespace {

struct KeptElement {
  std::string_view tag;
  std::string_view attributes;  // separated by spaces, each enclosed in them
};

// Presentational attributes that load nothing; addresses have rules of their own.
constexpr auto kKeptElements = std::to_array<KeptElement>({
    {"a", " "},
    {"abbr", " "},
    {"b", " "},
    {"bdi", " "},
    {"bdo", " "},
    {"blockquote", " "},
    {"br", " "},
    {"caption", " align "},
    {"center", " "},
    {"cite", " "},
    {"code", " "},
    {"col", " span width align valign "},
    {"colgroup", " span width align valign "},
    {"dd", " "},
    {"del", " "},
    {"dfn", " "},
    {"div", " align "},
    {"dl", " "},
    {"dt", " "},
    {"em", " "},
    // Editors and word processors still write it for colours and faces.
    {"font", " color face size "},
    {"h1", " align "},
    {"h2", " align "},
    {"h3", " align "},
    {"h4", " align "},
    {"h5", " align "},
    {"h6", " align "},
    {"hr", " "},
    {"i", " "},
    {"img", " alt width height "},
    {"ins", " "},
    {"kbd", " "},
    {"li", " value type "},
    {"mark", " "},
    {"ol", " start type reversed "},
    {"p", " align "},
    {"pre", " "},
    {"q", " "},
    {"s", " "},
    {"samp", " "},
    {"small", " "},
    {"span", " "},
    {"strike", " "},
    {"strong", " "},
    {"sub", " "},
    {"sup", " "},
    {"table", " border cellpadding cellspacing align width "},
    {"tbody", " align valign "},
    {"td", " colspan rowspan align valign width "},
    {"tfoot", " align valign "},
    {"th", " colspan rowspan align valign width scope "},
    {"thead", " align valign "},
    {"tr", " align valign "},
    {"tt", " "},
    {"u", " "},
    {"ul", " type "},
    {"var", " "},
    {"wbr", " "},
});

// Elements whose content is no text of the notes: script, styles, templates,
// what loads a document of its own, and what a parser reads differently with
// scripting than without.
constexpr auto kDroppedElements = std::to_array<std::string_view>(
    {"applet", "base", "basefont", "bgsound", "embed", "frame", "frameset", "head", "iframe", "link", "meta",
     "noembed", "noframes", "noscript", "object", "param", "plaintext", "script", "style", "template", "title",
     "xmp"});

// The image types a data: address may hold; other types (SVG above all) can
// hold script or load more.
constexpr auto kInlineImageTypes = std::to_array<std::string_view>({"png", "gif", "jpeg", "webp"});

// Attributes any kept element may carry.
constexpr std::string_view kGlobalAttributes = " dir lang title ";

// Whether `name` stands in `list` between two spaces.
bool listed(std::string_view list, std::string_view name) {
  if (name.empty()) return false;
  for (auto at = list.find(name); at != std::string_view::npos; at = list.find(name, at + 1)) {
    const auto end = at + name.size();
    if (at > 0 && list[at - 1] == ' ' && end < list.size() && list[end] == ' ') return true;
  }
  return false;
}

// The address as a browser's address parser reads it: leading and trailing
// control characters and spaces gone, and tabs and line breaks anywhere.
std::string readAddress(std::string_view address) {
  const auto isEdge = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!address.empty() && isEdge(address.front())) address.remove_prefix(1);
  while (!address.empty() && isEdge(address.back())) address.remove_suffix(1);
  std::string out;
  for (const char c : address) {
    if (c != '\t' && c != '\n' && c != '\r') out += c;
  }
  return out;
}

// The lower-case scheme of an absolute address; empty for a relative one.
std::string schemeOf(std::string_view address) {
  const auto colon = address.find(':');
  if (colon == std::string_view::npos || address.substr(0, colon).find_first_of("/?#") != std::string_view::npos) {
    return {};
  }
  return lowerCase(address.substr(0, colon));
}

}  // namespace

ElementFate fateOf(std::string_view tag) {
  if (std::find(kDroppedElements.begin(), kDroppedElements.end(), tag) != kDroppedElements.end()) {
    return ElementFate::Drop;
  }
  const bool kept = std::any_of(kKeptElements.begin(), kKeptElements.end(),
                                [&](const KeptElement& e) { return e.tag == tag; });
  return kept ? ElementFate::Keep : ElementFate::Unwrap;
}

bool keepsAttribute(std::string_view tag, std::string_view attribute) {
  if (listed(kGlobalAttributes, attribute)) return true;
  const auto element = std::find_if(kKeptElements.begin(), kKeptElements.end(),
                                    [&](const KeptElement& e) { return e.tag == tag; });
  return element != kKeptElements.end() && listed(element->attributes, attribute);
}

bool isLinkAddress(std::string_view address) {
  const std::string scheme = schemeOf(readAddress(address));
  return scheme == "http" || scheme == "https" || scheme == "mailto";
}

bool isInlineRasterImage(std::string_view address) {
  const std::string read = lowerCase(readAddress(address));
  return std::any_of(kInlineImageTypes.begin(), kInlineImageTypes.end(), [&](std::string_view type) {
    const std::string prefix = "data:image/" + std::string(type);
    return read.starts_with(prefix) && read.size() > prefix.size() &&
           (read[prefix.size()] == ';' || read[prefix.size()] == ',');
  });
}

}  // namespace reVoziz
