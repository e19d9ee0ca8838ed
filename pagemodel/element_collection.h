#pragma once
// Element collections: `all`, `children`, `tags(...)` and the groups that a
// shared name yields. Built on first use, in document order.

#include <memory>
#include <string>
#include <vector>

#include "pagemodel/indexed_collection.h"
#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

enum class CollectionScope {
  Subtree,      // the root and every element below it (document.all)
  Descendants,  // every element below the root (element.all)
  Children,     // the root's child elements
};

class ElementCollection : public IndexedCollection {
 public:
  static std::shared_ptr<ElementCollection> over(NodePtr root, CollectionScope scope,
                                                 std::string tag = {});
  static std::shared_ptr<ElementCollection> of(std::vector<NodePtr> elements);

  std::size_t size() override { return elements().size(); }
  Value at(std::size_t index) override;
  // By id or name (several give a collection), or by unique id.
  Value named(std::string_view name) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override { return "HTMLElementCollection"; }

 private:
  ElementCollection() = default;
  const std::vector<NodePtr>& elements();
  std::vector<NodePtr> collect() const;
  // The elements of the collection with that id or name, in document order.
  std::vector<NodePtr> elementsNamed(std::string_view name);
  bool inScope(const Node& element) const;

  NodePtr root_;
  CollectionScope scope_ = CollectionScope::Descendants;
  std::string tag_;
  std::shared_ptr<const std::vector<NodePtr>> elements_;
};

}  // namespace reVoziz::pagemodel
