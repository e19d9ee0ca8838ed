// The cleaning of pasted HTML, as the paste road uses it: any fragment, parsed
// into the paste marker of a notes page and cleaned there, leaves nothing
// executable under the marker, and nothing outside the marker changes. What
// is left is of the allowlist only, names no member of the window, the
// document or a form, and loads nothing. The checks below, the allowlist's
// tables aside, are written apart from the cleaning, so that they judge it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/dom.h"
#include "core/error.h"
#include "core/markup_allowlist.h"
#include "core/markup_cleaning.h"
#include "documents/notes_page_ids.h"
#include "fuzz/fuzz_check.h"
#include "pagemodel/browser_member_names.h"
#include "pagemodel/document_model.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"
#include "pagemodel/window_model.h"

namespace {

using namespace reVoziz::pagemodel;
using reVoziz::fuzz::require;

// The marker as the paste road writes it into the notes.
constexpr std::string_view kPage =
    "<html><head><title>notes</title></head><body>"
    "<div id=\"notes\" contenteditable=\"true\"><p id=\"first\">First "
    "<span id=\"pastePoint\" style=\"display:none;\"></span> line.</p>"
    "<p id=\"second\">Second <b>bold</b> line.</p></div></body></html>";

// Elements that run or load something, and those whose content a browser
// with scripting reads otherwise than the page model's parser.
constexpr std::array<std::string_view, 17> kExecutableElements = {
    "object", "script",   "iframe",  "frame",    "frameset", "embed",     "applet", "meta",    "base",
    "link",   "noscript", "noembed", "noframes", "xmp",      "plaintext", "style",  "template"};

constexpr std::array<std::string_view, 5> kPageIds = {"pastepoint", "synctemplate", "notes", "notesfile",
                                                       "notestemplate"};

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string asciiLower(std::string_view s) {
  std::string out;
  for (const char c : s) out += asciiLower(c);
  return out;
}

bool isBlank(std::string_view value) {
  return value.find_first_not_of(" \t\n\f\r") == std::string_view::npos;
}

// Whether `value` starts with `scheme` and a colon, as a browser reads an
// address: white space and control characters count for nothing before or
// inside the scheme, and neither does case.
bool hasScheme(std::string_view value, std::string_view scheme) {
  std::size_t matched = 0;
  for (const char c : value) {
    const auto u = static_cast<unsigned char>(c);
    if (u <= 0x20 || u == 0x7F) continue;
    if (matched == scheme.size()) return c == ':';
    if (asciiLower(c) != scheme[matched]) return false;
    ++matched;
  }
  return false;
}

// Any item of a list value, split at ";" and ",", with a script scheme.
bool hasScriptItem(std::string_view value) {
  for (std::size_t start = 0; start <= value.size();) {
    const auto end = value.find_first_of(";,", start);
    const std::string_view item = value.substr(start, end == std::string_view::npos ? end : end - start);
    if (hasScheme(item, "javascript") || hasScheme(item, "vbscript")) return true;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return false;
}

void requireNoComments(const Node& node, std::string_view input) {
  for (const NodePtr& child : node.children()) {
    require(child->kind() != NodeKind::Comment, "a comment survived", input);
    requireNoComments(*child, input);
  }
}

// The attributes of the sync tag's parts, which only they carry.
constexpr std::array<std::string_view, 7> kSyncAttributes = {"class", "contenteditable", "role", "tabindex",
                                                             "aria-label", "value", "size"};

bool isSyncPart(const Node& e) {
  const Node* tag = e.attributeOr("class") == "tq_syncTag" ? &e : e.parent();
  return tag && tag->tag() == "span" && tag->attributeOr("class") == "tq_syncTag";
}

bool namesAMember(std::string_view value) {
  using enum BrowserObject;
  return isBrowserMember(Window, value) || isBrowserMember(Document, value) || isBrowserMember(Form, value);
}

bool isKeptAttribute(const Node& e, std::string_view tag, std::string_view name) {
  const bool link = tag == "a" && (hasScheme(e.attributeOr("href"), "http") ||
                                   hasScheme(e.attributeOr("href"), "https") ||
                                   hasScheme(e.attributeOr("href"), "mailto"));
  if (name == "id" || name == "style" || (tag == "a" && name == "name") || reVoziz::keepsAttribute(tag, name)) {
    return true;
  }
  if (link && (name == "href" || name == "target" || name == "rel")) return true;
  if (tag == "img" && name == "src") return true;
  return isSyncPart(e) && std::find(kSyncAttributes.begin(), kSyncAttributes.end(), name) != kSyncAttributes.end();
}

bool isInlineImage(std::string_view src) {
  const std::string read = asciiLower(src);
  for (const std::string_view type : {"png;", "png,", "gif;", "gif,", "jpeg;", "jpeg,", "webp;", "webp,"}) {
    if (read.starts_with("data:image/" + std::string(type))) return true;
  }
  return false;
}

void requireOnlyTheAllowlist(const Node& e, std::string_view input) {
  const std::string tag = asciiLower(e.tag());
  require(reVoziz::fateOf(tag) == reVoziz::ElementFate::Keep || (tag == "input" && isSyncPart(e)),
          "an element " + tag + " outside the allowlist survived", input);
  for (const auto& a : e.attributes()) {
    const std::string name = asciiLower(a.name);
    require(isKeptAttribute(e, tag, name), "an attribute " + a.name + " outside the allowlist survived", input);
    if (name == "id" || name == "name") {
      require(!namesAMember(a.value) || (isSyncPart(e) && a.value == "timeCode"),
              "a " + a.name + " naming a member survived: " + a.value, input);
    }
    if (name == "style") {
      std::string read;
      for (const char c : asciiLower(a.value)) {
        if (static_cast<unsigned char>(c) > 0x20) read += c;
      }
      require(read.find("url(") == std::string::npos && read.find('@') == std::string::npos,
              "a style that fetches survived", input);
    }
    if (name == "src") require(isInlineImage(a.value), "an image from elsewhere survived", input);
    if (name == "target") require(a.value == "_blank", "a link into a frame survived", input);
  }
  if (tag == "a" && e.findAttribute("href")) {
    require(e.attributeOr("target") == "_blank" && e.attributeOr("rel") == "noopener noreferrer",
            "a link that opens inside the lesson survived", input);
  }
}

void requireNothingExecutable(const Node& holder, std::string_view input) {
  requireNoComments(holder, input);
  holder.forEachDescendantElement([&](const NodePtr& e) {
    requireOnlyTheAllowlist(*e, input);
    const std::string tag = asciiLower(e->tag());
    for (const std::string_view kind : kExecutableElements) {
      require(tag != kind, "a " + tag + " element survived", input);
    }
    for (const auto& a : e->attributes()) {
      const std::string name = asciiLower(a.name);
      require(!name.starts_with("on") || isBlank(a.value), "a handler " + a.name + " survived", input);
      require(!hasScriptItem(a.value), "a script address in " + a.name + " survived", input);
      if (name == "style" && a.value.find('\\') == std::string::npos && a.value.find("/*") == std::string::npos) {
        // Plain styles only: this check does not read escapes and comments.
        const std::string value = asciiLower(a.value);
        for (const std::string_view word : {"expression(", "javascript:", "vbscript:", "behavior", "-moz-binding"}) {
          require(value.find(word) == std::string::npos, "a style running script survived", input);
        }
      }
      if (name == "id" || name == "name") {
        const std::string value = asciiLower(a.value);
        for (const std::string_view id : kPageIds) {
          require(value != id, "a reserved " + a.name + " survived", input);
        }
      }
    }
    return true;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto window = std::make_shared<WindowModel>("", std::weak_ptr<WindowModel>());
  const auto document = DocumentModel::create(parseDocument(kPage), "notes.html", {}, window);
  window->setDocument(document);
  const NodePtr holder = document->elementById("pastePoint");
  require(holder != nullptr, "the page has no marker", input);
  const std::string outside = serializeNode(*document->root());

  // Parsed in the marker's context, as the host's paste parses the clipboard.
  holder->replaceChildren(parseFragment(input, holder->tag()));
  const reVoziz::Document page{std::shared_ptr<reVoziz::Object>(document)};
  reVoziz::cleanPastedContent(page, reVoziz::Element(std::shared_ptr<reVoziz::Object>(holder)),
                              reVoziz::kNotesPageReservedIds);

  requireNothingExecutable(*holder, input);
  holder->replaceChildren({});
  require(serializeNode(*document->root()) == outside, "the cleaning changed the page outside the marker",
          input);

  // The same fragment as the notes of an opened file: what comes back, put
  // into the notes, holds nothing executable and is cleaned already.
  std::string cleaned;
  try {
    cleaned = reVoziz::cleanedMarkup(page, input, reVoziz::kNotesPageReservedIds);
  } catch (const reVoziz::Error& e) {
    require(e.code() == reVoziz::ErrorCode::InvalidArgument, "the cleaning failed otherwise than refusing", input);
    return 0;  // refused: nothing reaches the page
  }
  const NodePtr notes = document->elementById("notes");
  notes->replaceChildren(parseFragment(cleaned, notes->tag()));
  requireNothingExecutable(*notes, input);
  require(serializeChildren(*notes) == cleaned, "the cleaned notes do not parse back to themselves", input);
  return 0;
}
