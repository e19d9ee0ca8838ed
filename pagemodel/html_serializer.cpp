#include "pagemodel/html_serializer.h"

#include <algorithm>
#include <array>

namespace reVoziz::pagemodel {
namespace {

bool holdsRawText(const Node* parent) {
  static constexpr std::array<std::string_view, 7> kRaw = {
      "script", "style", "xmp", "iframe", "noembed", "noframes", "plaintext"};
  return parent && std::find(kRaw.begin(), kRaw.end(), parent->tag()) != kRaw.end();
}

void appendEscaped(std::string& out, std::string_view text, bool inAttribute) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') {
      out += "&amp;";
    } else if (c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0') {
      out += "&nbsp;";
      ++i;
    } else if (inAttribute && c == '"') {
      out += "&quot;";
    } else if (c == '<') {
      // Escaped in attribute values too, so that no parser that reads an
      // element's content as text can find a tag in them.
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else {
      out += c;
    }
  }
}

void serializeInto(std::string& out, const Node& node) {
  switch (node.kind()) {
    case NodeKind::Text:
      if (holdsRawText(node.parent())) {
        out += node.data();
      } else {
        appendEscaped(out, node.data(), false);
      }
      return;
    case NodeKind::Comment:
      out += "<!--" + node.data() + "-->";
      return;
    case NodeKind::Element:
      break;
  }
  out += '<' + node.tag();
  for (const Attribute& a : node.attributes()) {
    out += ' ' + a.name + "=\"";
    appendEscaped(out, a.value, true);
    out += '"';
  }
  out += '>';
  if (isVoidElement(node.tag())) return;
  for (const NodePtr& child : node.children()) serializeInto(out, *child);
  out += "</" + node.tag() + '>';
}

}  // namespace

bool isVoidElement(std::string_view tag) {
  static constexpr std::array<std::string_view, 18> kVoid = {
      "area", "base",  "basefont", "bgsound", "br",     "col",   "embed", "frame", "hr",
      "img",  "input", "keygen",   "link",    "meta",   "param", "source", "track", "wbr"};
  return std::find(kVoid.begin(), kVoid.end(), tag) != kVoid.end();
}

std::string serializeNode(const Node& node) {
  std::string out;
  serializeInto(out, node);
  return out;
}

std::string serializeChildren(const Node& node) {
  std::string out;
  for (const NodePtr& child : node.children()) serializeInto(out, *child);
  return out;
}

}  // namespace reVoziz::pagemodel
