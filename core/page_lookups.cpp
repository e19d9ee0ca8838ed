#include "core/page_lookups.h"

#include "core/text.h"

namespace reVoziz {

Value getVal(const Element& o, std::string_view p) {
  Value v = o.getAttribute(p);
  return v.isNull() ? Value(std::string()) : v;
}

bool findClassAncestor(const Element& el, std::string_view cls, Element& found) {
  Element cur = el;
  while (true) {
    if (lowerCase(cur.tagName()) == "body") return false;
    if (cur.className() == cls) {
      found = cur;
      return true;
    }
    if (cur.getAttribute("parentNode").isNull()) return false;
    // Above the root element is the document, which has no tag to read.
    const Element parent = cur.parentElement();
    if (!parent.isSet()) return false;
    cur = parent;
  }
}

bool classContains(std::string_view className, const Element& el) {
  const std::string wanted = lowerCase(className);
  for (Element cur = el.parentElement(); cur.isSet(); cur = cur.parentElement()) {
    if (lowerCase(cur.className()) == wanted) return true;
  }
  return false;
}

std::vector<Element> elementsNamed(const Collection& all, std::string_view name) {
  const Value found = all.item(name);
  if (found.isNull()) return {};
  const Collection group(found);
  if (group.typeName().find("Collection") == std::string::npos) return {Element(found)};
  return itemsOf(group);
}

}  // namespace reVoziz
