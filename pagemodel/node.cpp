#include "pagemodel/node.h"

#include <algorithm>
#include <utility>

#include "core/error.h"
#include "pagemodel/document_model.h"
#include "pagemodel/layout.h"
#include "pagemodel/layout_generation.h"

namespace reVoziz::pagemodel {
namespace {

// Only the inline style, and the class and id that sheet rules select on,
// reach the layout.
void noteAttributeChange(const Node& node, std::string_view attribute) {
  if (sameHtmlName(attribute, "style") || sameHtmlName(attribute, "class") ||
      sameHtmlName(attribute, "id")) {
    layout::forgetLook(node);
  }
  noteChange({TreeChange::Kind::Attribute, node, attribute},
             sameHtmlName(attribute, "id") || sameHtmlName(attribute, "name"));
}

// `child` was just added to `parent`, or removed from it. Answers whether
// that moved the document's stamp.
bool noteChildChange(const Node& parent, const Node& child) {
  layout::forgetContent(parent);
  return noteChange({TreeChange::Kind::Child, child, {}, &parent}, true);
}

// A node inside itself or its own content would make the tree a cycle.
void requireCanHold(const Node& holder, const Node& child) {
  if (child.contains(&holder)) {
    throw Error(ErrorCode::HostError, "A node cannot be inserted into itself or its own content");
  }
}

}  // namespace

bool sameHtmlName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

Node::Node(NodeKind kind, std::string tagOrData) : kind_(kind) {
  if (kind == NodeKind::Element) {
    tag_ = std::move(tagOrData);
  } else {
    data_ = std::move(tagOrData);
  }
}

NodePtr Node::makeElement(std::string tag) {
  return NodePtr(new Node(NodeKind::Element, std::move(tag)));
}

NodePtr Node::makeText(std::string text, NodeKind kind) {
  return NodePtr(new Node(kind, std::move(text)));
}

const std::string* Node::findAttribute(std::string_view name) const {
  for (const Attribute& a : attributes_) {
    if (sameHtmlName(a.name, name)) return &a.value;
  }
  return nullptr;
}

void Node::setAttribute(std::string_view name, std::string value) {
  const auto it = std::find_if(attributes_.begin(), attributes_.end(),
                               [&](const Attribute& a) { return sameHtmlName(a.name, name); });
  if (it != attributes_.end()) {
    it->value = std::move(value);
  } else {
    attributes_.push_back({std::string(name), std::move(value)});
  }
  noteAttributeChange(*this, name);
}

bool Node::removeAttribute(std::string_view name) {
  const auto it = std::find_if(attributes_.begin(), attributes_.end(),
                               [&](const Attribute& a) { return sameHtmlName(a.name, name); });
  if (it == attributes_.end()) return false;
  attributes_.erase(it);
  noteAttributeChange(*this, name);
  return true;
}

std::string Node::attributeOr(std::string_view name, std::string_view fallback) const {
  const std::string* v = findAttribute(name);
  return v ? *v : std::string(fallback);
}

Node* Node::elementParent() const {
  return (parent_ && parent_->isElement()) ? parent_ : nullptr;
}

std::size_t Node::indexInParent() const {
  const auto& siblings = parent_->children_;
  return static_cast<std::size_t>(
      std::find_if(siblings.begin(), siblings.end(),
                   [this](const NodePtr& n) { return n.get() == this; }) -
      siblings.begin());
}

NodePtr Node::nextSibling() const {
  if (!parent_) return nullptr;
  const std::size_t i = indexInParent() + 1;
  return i < parent_->children_.size() ? parent_->children_[i] : nullptr;
}

NodePtr Node::previousSibling() const {
  if (!parent_) return nullptr;
  const std::size_t i = indexInParent();
  return i > 0 ? parent_->children_[i - 1] : nullptr;
}

void Node::insertChild(std::size_t index, NodePtr child) {
  requireCanHold(*this, *child);
  child->detach();
  child->parent_ = this;
  if (auto doc = document()) child->adoptInto(doc);
  layout::forgetSubtree(*child);  // it may come from a document of other sheets
  index = std::min(index, children_.size());
  const Node& added = *child;
  children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
  noteChildChange(*this, added);
  if (auto doc = document()) doc->liveRanges().inserted(*this, index);
}

void Node::appendChild(NodePtr child) { insertChild(children_.size(), std::move(child)); }

void Node::insertBefore(NodePtr child, const Node* reference) {
  if (child.get() == reference) return;  // already in place
  requireCanHold(*this, *child);
  // Detached first: a child moving within this node shifts the reference's index.
  child->detach();
  insertChild(reference ? reference->indexInParent() : children_.size(), std::move(child));
}

void Node::replaceChildren(std::vector<NodePtr> children) {
  if (auto doc = document()) doc->liveRanges().childrenReplaced(*this);
  const std::vector<NodePtr> removed = std::move(children_);
  children_.clear();
  for (const NodePtr& old : removed) old->parent_ = nullptr;
  // Judged with all of them gone: one alone may leave text that the others took.
  for (const NodePtr& old : removed) {
    if (noteChildChange(*this, *old)) break;
  }
  for (NodePtr& child : children) appendChild(std::move(child));
}

NodePtr Node::detach() {
  if (!parent_) return shared_from_this();
  if (auto doc = document()) doc->liveRanges().removing(*this);
  auto& siblings = parent_->children_;
  const auto index = static_cast<std::ptrdiff_t>(indexInParent());
  NodePtr self = siblings[static_cast<std::size_t>(index)];
  siblings.erase(siblings.begin() + index);
  Node* const from = parent_;
  parent_ = nullptr;
  noteChildChange(*from, *self);
  return self;
}

bool Node::contains(const Node* other) const {
  for (const Node* n = other; n; n = n->parent_) {
    if (n == this) return true;
  }
  return false;
}

NodePtr Node::shallowClone() const {
  NodePtr copy(new Node(kind_, kind_ == NodeKind::Element ? tag_ : data_));
  copy->attributes_ = attributes_;
  copy->document_ = document_;
  return copy;
}

NodePtr Node::deepClone() const {
  NodePtr copy(new Node(kind_, kind_ == NodeKind::Element ? tag_ : data_));
  copy->attributes_ = attributes_;
  copy->document_ = document_;
  for (const NodePtr& child : children_) {
    NodePtr c = child->deepClone();
    c->parent_ = copy.get();
    copy->children_.push_back(std::move(c));
  }
  return copy;
}

void Node::adoptInto(const std::shared_ptr<DocumentModel>& document) {
  if (document_.lock() == document) return;
  document_ = document;
  uniqueId.clear();  // ids are per document
  for (const NodePtr& child : children_) child->adoptInto(document);
}

bool Node::sameAs(const Object& other) const { return this == &other; }

void Node::setData(std::string data) {
  const std::string before = std::exchange(data_, std::move(data));
  if (parent_) layout::forgetContent(*parent_);
  noteChange({TreeChange::Kind::Data, *this, before}, false);
  if (auto doc = document()) doc->liveRanges().dataChanged(*this);
}

void Node::setLayoutOverride(LayoutOverride layout) {
  layoutOverride_ = layout;
  layout::forgetContent(*this);
  noteChange(*this);
}

Node::LayoutMemo& Node::layoutMemo() const {
  const std::uint64_t now = layoutGeneration();
  if (layoutMemo_.generation != now) layoutMemo_ = LayoutMemo{now};
  return layoutMemo_;
}

}  // namespace reVoziz::pagemodel
