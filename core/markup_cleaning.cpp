#include "core/markup_cleaning.h"

#include <algorithm>
#include <array>
#include <vector>

#include "core/error.h"
#include "core/page_lookups.h"
#include "core/text.h"

namespace reVoziz {
namespace {

// Elements that go with everything inside them: those that run or load
// something, and those whose content a browser with scripting reads as text
// where a parser without it reads elements, or the other way round.
constexpr std::array<std::string_view, 17> kRemovedElements = {
    "object",   "script",   "iframe", "frame",   "frameset",  "embed", "applet",
    "meta",     "base",     "link",   "noscript", "noembed",  "noframes",
    "xmp",      "plaintext", "style", "template"};

// What in a style can run script, once CSS comments, escapes and white space are gone.
constexpr std::array<std::string_view, 5> kScriptInStyle = {"expression(", "javascript:", "vbscript:",
                                                             "behavior", "-moz-binding"};

constexpr std::int32_t kCommentNode = 8;

// Rounds of parsing and cleaning before markup that will not settle is refused.
constexpr int kCleaningRounds = 4;

bool isBlankOrControl(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u <= 0x20 || u == 0x7F;
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

char32_t hexValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<char32_t>(c - '0');
  return static_cast<char32_t>((c | 0x20) - 'a' + 10);
}

// The CSS text as a browser reads it: comments gone, escapes undone.
std::string undoCssEscapes(std::string_view css) {
  std::string out;
  for (std::size_t i = 0; i < css.size();) {
    if (css.substr(i, 2) == "/*") {
      const auto end = css.find("*/", i + 2);
      if (end == std::string_view::npos) break;
      i = end + 2;
      continue;
    }
    if (css[i] != '\\') {
      out += css[i++];
      continue;
    }
    ++i;
    std::size_t digits = 0;
    char32_t value = 0;
    while (i + digits < css.size() && digits < 6 && isHexDigit(css[i + digits])) {
      value = value * 16 + hexValue(css[i + digits]);
      ++digits;
    }
    if (digits > 0) {
      i += digits;
      if (i < css.size() && isBlankOrControl(css[i])) ++i;
      const bool scalar = value != 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
      appendUtf8(out, scalar ? value : 0xFFFD);
    } else if (i < css.size()) {
      if (css[i] != '\n') out += css[i];  // an escaped line break joins lines
      ++i;
    }
  }
  return out;
}

// `text` lower-cased, without white space or control characters.
std::string squeezed(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (!isBlankOrControl(c)) out += c;
  }
  return lowerCase(out);
}

bool isScriptScheme(std::string_view item) {
  const auto colon = item.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string scheme = squeezed(item.substr(0, colon));
  return scheme == "javascript" || scheme == "vbscript";
}

bool isReservedName(std::string_view attribute, std::string_view value, ReservedIds reservedIds) {
  const std::string name = lowerCase(attribute);
  if (name != "id" && name != "name") return false;
  const std::string read = lowerCase(value);
  return std::any_of(reservedIds.begin(), reservedIds.end(),
                     [&](std::string_view id) { return lowerCase(id) == read; });
}

bool isEventHandler(std::string_view attribute, std::string_view value) {
  return lowerCase(attribute).starts_with("on") && !trimSpaces(value).empty();
}

std::string attributeText(const Attribute& attribute) {
  const Value value = attribute.nodeValue();
  return value.isNull() || value.isEmpty() ? std::string() : value.toText();
}

bool isUnsafeAttribute(std::string_view name, std::string_view value, ReservedIds reservedIds) {
  return isEventHandler(name, value) || isScriptAddress(value) || isReservedName(name, value, reservedIds) ||
         (lowerCase(name) == "style" && isScriptStyle(value));
}

void cleanAttributes(const Element& element, ReservedIds reservedIds) {
  for (const Attribute& attribute : itemsOf<Attribute>(element.attributes())) {
    const std::string name = attribute.nodeName();
    if (isUnsafeAttribute(name, attributeText(attribute), reservedIds)) {
      attribute.setNodeValue("");
      element.removeAttributeNode(attribute);
    }
  }
}

void removeComments(const Element& parent) {
  std::vector<Element> comments;
  for (Element node = parent.firstChild(); node.isSet(); node = node.nextSibling()) {
    if (node.nodeType() == kCommentNode) comments.push_back(node);
  }
  for (const Element& comment : comments) comment.removeNode(true);
}

}  // namespace

bool isScriptAddress(std::string_view value) {
  std::size_t start = 0;
  while (start <= value.size()) {
    const auto end = value.find_first_of(";,", start);
    const std::string_view item = value.substr(start, end == std::string_view::npos ? end : end - start);
    if (isScriptScheme(item)) return true;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return false;
}

bool isScriptStyle(std::string_view css) {
  const std::string read = squeezed(undoCssEscapes(css));
  return std::any_of(kScriptInStyle.begin(), kScriptInStyle.end(),
                     [&](std::string_view vector) { return read.find(vector) != std::string::npos; });
}

void cleanPastedContent(const Element& holder, ReservedIds reservedIds) {
  // Every element is judged by its tag, whatever type the host gives it.
  for (const Element& element : itemsOf(holder.all())) {
    if (element.nodeType() == kCommentNode) {
      element.removeNode(true);  // hosts whose `all` lists comments
      continue;
    }
    const std::string tag = lowerCase(element.tagName());
    if (std::find(kRemovedElements.begin(), kRemovedElements.end(), tag) != kRemovedElements.end()) {
      element.removeNode(true);
    } else {
      cleanAttributes(element, reservedIds);
    }
  }
  removeComments(holder);
  for (const Element& element : itemsOf(holder.all())) removeComments(element);
}

std::string cleanedMarkup(const Document& page, std::string_view markup, ReservedIds reservedIds) {
  // The document is held for as long as its body is used: a host may let a
  // document's nodes go with it.
  const Document inert = page.createInertDocument();
  const Element holder = inert.body();
  std::string current(markup);
  for (int round = 0; round < kCleaningRounds; ++round) {
    holder.setInnerHTML(current);
    cleanPastedContent(holder, reservedIds);
    std::string cleaned = holder.innerHTML();
    if (cleaned == current) return cleaned;
    current = std::move(cleaned);
  }
  throw Error(ErrorCode::InvalidArgument, "The notes hold markup that does not settle when cleaned");
}

}  // namespace reVoziz
