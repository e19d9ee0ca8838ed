#pragma once
// One node of the in-memory page: an element, a text or a comment. Nodes are
// host objects; their members are served by member tables in element_members.cpp.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/object.h"

namespace reVoziz::pagemodel {

class DocumentModel;
class Node;
using NodePtr = std::shared_ptr<Node>;

enum class NodeKind { Element, Text, Comment };

struct Attribute {
  std::string name;  // as written, for serialising; compared without case
  std::string value;
};

// What a test may impose on the deterministic layout of one element.
struct LayoutOverride {
  std::optional<int> height = std::nullopt;
  std::optional<int> top = std::nullopt;
  std::optional<int> clientHeight = std::nullopt;
};

class Node : public Object, public std::enable_shared_from_this<Node> {
 public:
  static NodePtr makeElement(std::string tag);
  static NodePtr makeText(std::string text, NodeKind kind = NodeKind::Text);

  NodeKind kind() const { return kind_; }
  bool isElement() const { return kind_ == NodeKind::Element; }
  // Lower case; empty for text and comments.
  const std::string& tag() const { return tag_; }
  const std::string& data() const { return data_; }
  void setData(std::string data);

  // Attributes, names compared without case.
  const std::vector<Attribute>& attributes() const { return attributes_; }
  const std::string* findAttribute(std::string_view name) const;
  void setAttribute(std::string_view name, std::string value);
  bool removeAttribute(std::string_view name);
  std::string attributeOr(std::string_view name, std::string_view fallback = {}) const;

  // Tree.
  Node* parent() const { return parent_; }
  const std::vector<NodePtr>& children() const { return children_; }
  Node* elementParent() const;
  NodePtr nextSibling() const;
  NodePtr previousSibling() const;
  void appendChild(NodePtr child);
  void insertChild(std::size_t index, NodePtr child);
  void insertBefore(NodePtr child, const Node* reference);
  void replaceChildren(std::vector<NodePtr> children);
  NodePtr detach();  // removes this node from its parent
  std::size_t indexInParent() const;
  bool contains(const Node* other) const;  // this node or a descendant
  NodePtr deepClone() const;
  NodePtr shallowClone() const;  // the node and its attributes, no children
  // Calls visit(element) for every element below this one, in document order,
  // until visit returns false.
  template <class Visit>
  bool forEachDescendantElement(Visit&& visit) const;

  // The document this node belongs to, set when it is adopted.
  std::shared_ptr<DocumentModel> document() const { return document_.lock(); }
  void adoptInto(const std::shared_ptr<DocumentModel>& document);

  // Model state beyond the markup.
  std::string& runtimeCss() { return runtimeCss_; }
  int scrollTop = 0;
  const LayoutOverride& layoutOverride() const { return layoutOverride_; }
  void setLayoutOverride(LayoutOverride layout);
  // Layout results remembered for the current layout generation. A change to
  // a node forgets what it can have moved (see layout::forget...).
  struct LayoutMemo {
    std::uint64_t generation = 0;
    std::optional<bool> hidden = std::nullopt;
    std::optional<int> height = std::nullopt;
    // The top of each child's row, by the child's index.
    std::optional<std::vector<int>> childTops = std::nullopt;
  };
  LayoutMemo& layoutMemo() const;
  // The lazily assigned unique id; see DocumentModel::uniqueIdOf.
  std::string uniqueId;
  // The line of the page's file where the parser met the element; 0 when it
  // was made otherwise.
  int sourceLine = 0;

  // Object.
  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  bool has(std::string_view member) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override;
  bool sameAs(const Object& other) const override;

 private:
  Node(NodeKind kind, std::string tagOrData);

  NodeKind kind_;
  std::string tag_;
  std::string data_;
  std::vector<Attribute> attributes_;
  std::vector<NodePtr> children_;
  Node* parent_ = nullptr;
  std::weak_ptr<DocumentModel> document_;
  std::string runtimeCss_;
  LayoutOverride layoutOverride_;
  mutable LayoutMemo layoutMemo_;
};

template <class Visit>
bool Node::forEachDescendantElement(Visit&& visit) const {
  for (const NodePtr& child : children_) {
    if (!child->isElement()) continue;
    if (!visit(child)) return false;
    if (!child->forEachDescendantElement(visit)) return false;
  }
  return true;
}

// HTML names (tags, attributes) compare without ASCII case.
bool sameHtmlName(std::string_view a, std::string_view b);

}  // namespace reVoziz::pagemodel
