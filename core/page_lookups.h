#pragma once
// Lookups on the page that several subsystems share.

#include <string_view>
#include <vector>

#include "core/dom.h"

namespace reVoziz {

// The attribute's value, or "" when the element has no such attribute.
Value getVal(const Element& o, std::string_view p);

// The first of `el` and its ancestors, below the body, whose whole className
// is `cls` (case-sensitive); the walk ends at the body or at the root element.
// `found` is written only on success.
bool findClassAncestor(const Element& el, std::string_view cls, Element& found);

// Whether a proper ancestor's whole className equals `className`, compared
// lower-cased; climbs to the root of the document.
bool classContains(std::string_view className, const Element& el);

// The items of a collection, all taken at once: a live collection shifts as
// items leave it.
template <class Item = Element>
std::vector<Item> itemsOf(const Collection& collection) {
  std::vector<Item> items;
  const std::int32_t count = collection.length();
  for (std::int32_t i = 0; i < count; ++i) items.emplace_back(collection.item(i));
  return items;
}

// The elements that share an id or name in `all`: none, one or several.
std::vector<Element> elementsNamed(const Collection& all, std::string_view name);

}  // namespace reVoziz
