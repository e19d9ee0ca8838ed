#include "lessonmaking/page_translation.h"

#include "lessonmaking/language_names.h"

namespace reVoziz::lessonmaking {
namespace {

using pagemodel::NodeKind;
using pagemodel::NodePtr;

bool holdsNoInterface(const NodePtr& element) { return element->tag() == "script" || element->tag() == "style"; }

bool isBlank(const NodePtr& node) {
  return node->kind() == NodeKind::Text && interfaceKey(node->data()).empty();
}

// The element holds `text` and, besides it, white space at most.
bool onlyContent(const NodePtr& element, const NodePtr& text) {
  for (const NodePtr& child : element->children()) {
    if (child != text && !isBlank(child)) return false;
  }
  return true;
}

void visitElement(const NodePtr& element, const ElementMatch& isContent,
                  const std::function<std::optional<std::string>(const std::string&, const InterfaceTextPlace&)>& visit) {
  if (holdsNoInterface(element) || isContent(element)) return;
  for (std::string_view name : kInterfaceAttributes) {
    const std::string* value = element->findAttribute(name);
    if (!value || !isInterfaceText(*value)) continue;
    if (auto replaced = visit(*value, {element, false})) element->setAttribute(name, std::move(*replaced));
  }
  for (const NodePtr& child : element->children()) {
    if (child->isElement()) {
      visitElement(child, isContent, visit);
    } else if (child->kind() == NodeKind::Text && isInterfaceText(child->data())) {
      if (auto replaced = visit(child->data(), {element, onlyContent(element, child)})) child->setData(std::move(*replaced));
    }
  }
}

// `translated` in the place of `text`, keeping the white space around it.
std::string inPlaceOf(const std::string& text, const std::string& translated) {
  const std::size_t first = text.find_first_not_of(" \t\n\r\f");
  const std::size_t last = text.find_last_not_of(" \t\n\r\f");
  return text.substr(0, first) + translated + text.substr(last + 1);
}

}  // namespace

void forEachInterfaceText(const NodePtr& root, const ElementMatch& isContent,
                          const std::function<std::optional<std::string>(const std::string&, const InterfaceTextPlace&)>& visit) {
  visitElement(root, isContent, visit);
}

void translatePage(const NodePtr& root, const ElementMatch& isContent, const InterfaceTexts& texts,
                   std::string_view language) {
  const bool pageInOtherLanguage = lowerCaseTag(root->attributeOr("lang")) != lowerCaseTag(language);
  forEachInterfaceText(root, isContent, [&](const std::string& text, const InterfaceTextPlace& place) {
    const std::optional<std::string> translated = texts.find(text, language);
    if (!translated) return std::optional<std::string>();
    if (pageInOtherLanguage && place.wholeContent) place.element->setAttribute("lang", std::string(language));
    if (*translated == interfaceKey(text)) return std::optional<std::string>();
    return std::optional<std::string>(inPlaceOf(text, *translated));
  });
}

}  // namespace reVoziz::lessonmaking
