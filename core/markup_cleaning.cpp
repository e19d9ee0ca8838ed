#include "core/markup_cleaning.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "core/css_cleaning.h"
#include "core/error.h"
#include "core/html_text.h"
#include "core/markup_allowlist.h"
#include "core/page_lookups.h"
#include "core/text.h"

namespace reVoziz {
namespace {

constexpr std::int32_t kElementNode = 1;
constexpr std::int32_t kCommentNode = 8;

// Rounds of parsing and cleaning before markup that will not settle is refused.
constexpr int kCleaningRounds = 4;

// Where a kept link opens: outside the lesson, which it cannot reach.
constexpr std::string_view kLinkTarget = "_blank";
constexpr std::string_view kLinkRel = "noopener noreferrer";

// The sync tag as the notes page's template makes it: a span of this class
// around these parts, in this order, each with these attributes. An attribute
// given with a value keeps only that value.
struct SyncPart {
  std::string_view tag;
  std::string_view className;
  std::string_view attributes;  // name=value or name, separated by spaces
};
constexpr SyncPart kSyncTag = {"span", "tq_syncTag", "class=tq_syncTag contenteditable=false style title"};
constexpr auto kSyncParts = std::to_array<SyncPart>({
    {"span", "tq_sync", "class=tq_sync title role=button tabindex=0 aria-label"},
    {"span", "tq_decrement", "class=tq_decrement title role=button tabindex=0 aria-label"},
    {"input", "tq_syncValue", "id=timeCode class=tq_syncValue aria-label value size"},
    {"span", "tq_increment", "class=tq_increment title role=button tabindex=0 aria-label"},
});

std::string attributeText(const Attribute& attribute) {
  const Value value = attribute.nodeValue();
  return value.isNull() || value.isEmpty() ? std::string() : value.toText();
}

struct NamedValue {
  std::string name;  // lower case
  std::string value;
};

std::vector<NamedValue> attributesOf(const Element& element) {
  std::vector<NamedValue> out;
  for (const Attribute& attribute : itemsOf<Attribute>(element.attributes())) {
    out.push_back({lowerCase(attribute.nodeName()), attributeText(attribute)});
  }
  return out;
}

std::string attributeOf(const std::vector<NamedValue>& attributes, std::string_view name) {
  const auto found =
      std::find_if(attributes.begin(), attributes.end(), [&](const NamedValue& a) { return a.name == name; });
  return found == attributes.end() ? std::string() : found->value;
}

// Removes the attributes `keep` refuses, and rewrites the ones it changes.
template <class Keep>
void cleanAttributes(const Element& element, Keep keep) {
  for (const Attribute& attribute : itemsOf<Attribute>(element.attributes())) {
    const std::string name = lowerCase(attribute.nodeName());
    const std::string value = attributeText(attribute);
    const std::optional<std::string> kept = keep(name, value);
    if (kept) {
      if (*kept != value) attribute.setNodeValue(*kept);
      continue;
    }
    attribute.setNodeValue("");
    element.removeAttributeNode(attribute);
  }
}

// What a sync part's attribute list keeps of `name`: its fixed value, or the
// value as it is (a style cleaned).
std::optional<std::string> keptSyncAttribute(const SyncPart& part, std::string_view name, std::string_view value) {
  for (std::size_t start = 0; start < part.attributes.size();) {
    auto end = part.attributes.find(' ', start);
    if (end == std::string_view::npos) end = part.attributes.size();
    const std::string_view item = part.attributes.substr(start, end - start);
    start = end + 1;
    const auto equals = item.find('=');
    if (item.substr(0, equals) != name) continue;
    if (equals != std::string_view::npos) {
      if (value != item.substr(equals + 1)) return std::nullopt;
      return std::string(value);
    }
    if (name == "style") {
      std::string css = cleanedStyle(value);
      return css.empty() ? std::nullopt : std::optional<std::string>(std::move(css));
    }
    return std::string(value);
  }
  return std::nullopt;
}

bool hasShape(const Element& element, const SyncPart& part) {
  return element.nodeType() == kElementNode && lowerCase(element.tagName()) == part.tag &&
         attributeOf(attributesOf(element), "class") == part.className;
}

// Whether `span` holds the sync tag's parts, and nothing else but text.
bool isSyncTag(const Element& span) {
  if (!span.isSet() || span.nodeType() != kElementNode || !hasShape(span, kSyncTag)) return false;
  std::size_t count = 0;
  for (Element child = span.firstChild(); child.isSet(); child = child.nextSibling()) {
    if (child.nodeType() != kElementNode) continue;
    if (count == kSyncParts.size() || !hasShape(child, kSyncParts[count])) return false;
    ++count;
  }
  return count == kSyncParts.size();
}

// The part of a sync tag that `element` is, the tag itself included; null
// for any other element.
const SyncPart* syncPartOf(const Element& element, std::string_view tag, std::string_view className) {
  if (!className.starts_with("tq_")) return nullptr;
  if (tag == kSyncTag.tag && className == kSyncTag.className) return isSyncTag(element) ? &kSyncTag : nullptr;
  const auto part = std::find_if(kSyncParts.begin(), kSyncParts.end(), [&](const SyncPart& p) {
    return p.tag == tag && p.className == className;
  });
  return part != kSyncParts.end() && isSyncTag(element.parentNode()) ? &*part : nullptr;
}

// The cleaning of one tree: each element judged once, in document order, so
// that an element is judged before what it holds; a sync tag's parts are
// judged as parts while the tag around them keeps its shape.
class Cleaning {
 public:
  Cleaning(const Document& page, ReservedIds reservedIds) : names_(page, reservedIds) {}

  void clean(const Element& holder) {
    for (const Element& element : itemsOf(holder.all())) {
      if (element.nodeType() == kCommentNode) {
        element.removeNode(true);  // hosts whose `all` lists comments
        continue;
      }
      cleanElement(element);
    }
    removeComments(holder);
    for (const Element& element : itemsOf(holder.all())) removeComments(element);
  }

 private:
  void cleanElement(const Element& element) {
    const std::string tag = lowerCase(element.tagName());
    if (const SyncPart* part = syncPartOf(element, tag, attributeOf(attributesOf(element), "class"))) {
      cleanAttributes(element, [&](const std::string& name, const std::string& value) {
        return keptSyncAttribute(*part, name, value);
      });
      return;
    }
    switch (fateOf(tag)) {
      case ElementFate::Drop: element.removeNode(true); return;
      case ElementFate::Unwrap: element.removeNode(false); return;
      case ElementFate::Keep: break;
    }
    if (tag == "img" && !isInlineRasterImage(attributeOf(attributesOf(element), "src"))) {
      replaceImage(element);
      return;
    }
    const bool link = tag == "a" && isLinkAddress(attributeOf(attributesOf(element), "href"));
    cleanAttributes(element, [&](const std::string& name, const std::string& value) {
      return keptAttribute(tag, link, name, value);
    });
    if (link) {
      element.setAttribute("target", kLinkTarget);
      element.setAttribute("rel", kLinkRel);
    }
  }

  std::optional<std::string> keptAttribute(std::string_view tag, bool link, const std::string& name,
                                           const std::string& value) const {
    if (name == "style") {
      std::string css = cleanedStyle(value);
      return css.empty() ? std::nullopt : std::optional<std::string>(std::move(css));
    }
    if (name == "id" || (name == "name" && tag == "a")) {
      return names_.isTaken(value) ? std::nullopt : std::optional<std::string>(value);
    }
    const bool kept = (tag == "img" && name == "src") ||  // a data: image, by now
                      (link && name == "href") || (link && name == "target" && value == kLinkTarget) ||
                      (link && name == "rel" && value == kLinkRel) || keepsAttribute(tag, name);
    return kept ? std::optional<std::string>(value) : std::nullopt;
  }

  // An image from elsewhere becomes a link to it, named by its alt text or
  // its address; one from nowhere a link can lead, that text alone.
  void replaceImage(const Element& image) {
    const auto attributes = attributesOf(image);
    const std::string source = attributeOf(attributes, "src");
    const std::string alt = attributeOf(attributes, "alt");
    const std::string text = escapeHtml(trimSpaces(alt).empty() ? source : alt);
    if (text.empty()) {
      image.removeNode(true);
    } else if (!isLinkAddress(source)) {
      image.setOuterHTML(text);
    } else {
      image.setOuterHTML("<a href=\"" + escapeHtml(source) + "\" target=\"" + std::string(kLinkTarget) +
                         "\" rel=\"" + std::string(kLinkRel) + "\">" + text + "</a>");
    }
  }

  static void removeComments(const Element& parent) {
    std::vector<Element> comments;
    for (Element node = parent.firstChild(); node.isSet(); node = node.nextSibling()) {
      if (node.nodeType() == kCommentNode) comments.push_back(node);
    }
    for (const Element& comment : comments) comment.removeNode(true);
  }

  TakenNames names_;
};

}  // namespace

void cleanPastedContent(const Document& page, const Element& holder, ReservedIds reservedIds) {
  Cleaning(page, reservedIds).clean(holder);
}

std::string cleanedMarkup(const Document& page, std::string_view markup, ReservedIds reservedIds) {
  // The document is held for as long as its body is used: a host may let a
  // document's nodes go with it.
  const Document inert = page.createInertDocument();
  const Element holder = inert.body();
  Cleaning cleaning(page, reservedIds);
  std::string current(markup);
  for (int round = 0; round < kCleaningRounds; ++round) {
    holder.setInnerHTML(current);
    cleaning.clean(holder);
    std::string cleaned = holder.innerHTML();
    if (cleaned == current) return cleaned;
    current = std::move(cleaned);
  }
  throw Error(ErrorCode::InvalidArgument, "The notes hold markup that does not settle when cleaned");
}

}  // namespace reVoziz
