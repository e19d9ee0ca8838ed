#include "editor/paste_cleaning.h"

#include <algorithm>
#include <array>

#include "core/page_lookups.h"
#include "core/text.h"

namespace reVoziz {
namespace {

// Elements that go with everything inside them.
constexpr std::array<std::string_view, 10> kRemovedElements = {
    "object", "script", "iframe", "frame", "frameset", "embed", "applet", "meta", "base", "link"};

// Ids the editor finds its marker and template by; `all` answers names too.
constexpr std::array<std::string_view, 2> kReservedIds = {"pastepoint", "synctemplate"};

bool isReservedName(std::string_view attribute, std::string_view value) {
  const std::string name = lowerCase(attribute);
  if (name != "id" && name != "name") return false;
  return std::find(kReservedIds.begin(), kReservedIds.end(), lowerCase(value)) != kReservedIds.end();
}

bool isEventHandler(std::string_view attribute, std::string_view value) {
  return lowerCase(attribute).starts_with("on") && !trimSpaces(value).empty();
}

std::string attributeText(const Attribute& attribute) {
  const Value value = attribute.nodeValue();
  return value.isNull() || value.isEmpty() ? std::string() : value.toText();
}

void cleanAttributes(const Element& element) {
  for (const Attribute& attribute : itemsOf<Attribute>(element.attributes())) {
    const std::string name = attribute.nodeName();
    const std::string value = attributeText(attribute);
    if (isEventHandler(name, value) || isScriptAddress(value) || isReservedName(name, value)) {
      attribute.setNodeValue("");
      element.removeAttributeNode(attribute);
    }
  }
}

}  // namespace

bool isScriptAddress(std::string_view value) {
  const auto colon = value.find(':');
  if (colon == std::string_view::npos) return false;
  std::string scheme;
  for (const char c : value.substr(0, colon)) {
    const auto u = static_cast<unsigned char>(c);
    if (u > 0x20 && u != 0x7F) scheme += c;
  }
  scheme = lowerCase(scheme);
  return scheme == "javascript" || scheme == "vbscript";
}

void cleanPastedContent(const Element& holder) {
  for (const Element& element : itemsOf(holder.all())) {
    if (lowerCase(element.typeName()).find("html") == std::string::npos) continue;
    const std::string tag = lowerCase(element.tagName());
    if (std::find(kRemovedElements.begin(), kRemovedElements.end(), tag) != kRemovedElements.end()) {
      element.removeNode(true);
    } else {
      cleanAttributes(element);
    }
  }
}

}  // namespace reVoziz
