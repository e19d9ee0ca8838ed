#include "pagemodel/range_content.h"

#include <algorithm>

#include "core/error.h"
#include "pagemodel/document_model.h"

namespace reVoziz::pagemodel {
namespace {

std::vector<const Node*> pathFromRoot(const Node* node) {
  std::vector<const Node*> path;
  for (; node; node = node->parent()) path.push_back(node);
  std::reverse(path.begin(), path.end());
  return path;
}

// Where `node` stands in tree order relative to `other`.
int compareNodes(const Node* a, const Node* b) {
  if (a == b) return 0;
  const auto pa = pathFromRoot(a);
  const auto pb = pathFromRoot(b);
  std::size_t i = 0;
  while (i < pa.size() && i < pb.size() && pa[i] == pb[i]) ++i;
  if (i == pa.size()) return -1;  // a holds b: a starts first
  if (i == pb.size()) return 1;
  if (i == 0) return 0;  // different trees
  return pa[i]->indexInParent() < pb[i]->indexInParent() ? -1 : 1;
}

// The lowest node that holds both; null when they are in different trees.
const Node* lowestCommonAncestor(const Node* a, const Node* b) {
  const auto pa = pathFromRoot(a);
  const auto pb = pathFromRoot(b);
  std::size_t i = 0;
  while (i < pa.size() && i < pb.size() && pa[i] == pb[i]) ++i;
  return i == 0 ? nullptr : pa[i - 1];
}

// The child of `ancestor` on the way down to `node`.
const Node* childToward(const Node& ancestor, const Node* node) {
  while (node && node->parent() != &ancestor) node = node->parent();
  return node;
}

Boundary clamped(const Boundary& b) { return {b.node, std::min(b.offset, lengthOf(*b.node))}; }

// Cuts a text node at `offset`; the tail becomes its next sibling.
void splitText(const NodePtr& text, std::size_t offset) {
  NodePtr tail = Node::makeText(text->data().substr(offset));
  text->parent()->insertBefore(tail, text->nextSibling().get());
  const std::string head = text->data().substr(0, offset);
  if (auto doc = text->document()) doc->liveRanges().split(*text, offset, tail);
  text->setData(head);
}

// Makes a text boundary a point between children, cutting the text node when
// the point falls inside it. `range` must be live, so that the other
// boundary follows the cut.
void toChildBoundary(LiveRange& range, bool start) {
  Boundary& b = start ? range.start : range.end;
  b = clamped(b);
  if (b.node->isElement()) return;
  if (!b.node->parent()) throw Error(ErrorCode::HostError, "The range lies outside the page");
  // A cut leaves this boundary at the end of the head.
  if (b.offset > 0 && b.offset < b.node->data().size()) splitText(b.node, b.offset);
  const NodePtr text = b.node;
  const std::size_t index = text->indexInParent();
  b = {text->parent()->shared_from_this(), b.offset == 0 ? index : index + 1};
}

void toChildBoundaries(LiveRange& range) {
  toChildBoundary(range, false);
  toChildBoundary(range, true);
}

// The content between two child boundaries, cloned or taken out.
std::vector<NodePtr> contentBetween(const Boundary& s, const Boundary& e, bool take) {
  std::vector<NodePtr> out;
  auto grab = [&](const Node& parent, std::size_t from, std::size_t to) {
    const std::vector<NodePtr> kids(parent.children().begin() + static_cast<std::ptrdiff_t>(from),
                                    parent.children().begin() + static_cast<std::ptrdiff_t>(to));
    for (const NodePtr& kid : kids) out.push_back(take ? kid->detach() : kid->deepClone());
  };
  if (s.node == e.node) {
    if (s.offset < e.offset) grab(*s.node, s.offset, e.offset);
    return out;
  }
  const Node* holder = lowestCommonAncestor(s.node.get(), e.node.get());
  if (!holder) throw Error(ErrorCode::HostError, "The range lies outside the page");
  const Node& common = *holder;
  const Node* firstPartial = s.node.get() == &common ? nullptr : childToward(common, s.node.get());
  const Node* lastPartial = e.node.get() == &common ? nullptr : childToward(common, e.node.get());
  const std::size_t from = firstPartial ? firstPartial->indexInParent() + 1 : s.offset;
  const std::size_t to = lastPartial ? lastPartial->indexInParent() : e.offset;

  if (firstPartial) {
    NodePtr copy = firstPartial->shallowClone();
    const NodePtr holder = std::const_pointer_cast<Node>(firstPartial->shared_from_this());
    copy->replaceChildren(contentBetween(s, {holder, holder->children().size()}, take));
    out.push_back(copy);
  }
  if (from < to) grab(common, from, to);
  if (lastPartial) {
    NodePtr copy = lastPartial->shallowClone();
    const NodePtr holder = std::const_pointer_cast<Node>(lastPartial->shared_from_this());
    copy->replaceChildren(contentBetween({holder, 0}, e, take));
    out.push_back(copy);
  }
  return out;
}

}  // namespace

int comparePoints(const Boundary& a, const Boundary& b) {
  if (a.node == b.node) return a.offset < b.offset ? -1 : (a.offset > b.offset ? 1 : 0);
  if (a.node->contains(b.node.get())) {
    const Node* child = childToward(*a.node, b.node.get());
    return child->indexInParent() < a.offset ? 1 : -1;
  }
  if (b.node->contains(a.node.get())) return -comparePoints(b, a);
  return compareNodes(a.node.get(), b.node.get());
}

NodePtr commonAncestorElement(const LiveRange& range) {
  const Node* n = lowestCommonAncestor(range.start.node.get(), range.end.node.get());
  while (n && !n->isElement()) n = n->parent();
  if (!n) throw Error(ErrorCode::HostError, "The range lies outside the page");
  return std::const_pointer_cast<Node>(n->shared_from_this());
}

std::vector<NodePtr> cloneContents(LiveRange& range) {
  if (range.collapsed()) return {};
  toChildBoundaries(range);
  return contentBetween(range.start, range.end, false);
}

std::vector<NodePtr> extractContents(LiveRange& range) {
  if (range.collapsed()) return {};
  toChildBoundaries(range);
  const Boundary start = range.start;
  std::vector<NodePtr> out = contentBetween(range.start, range.end, true);
  range.collapseTo(start);
  return out;
}

void insertNodes(LiveRange& range, std::vector<NodePtr> nodes) {
  range.collapseTo(range.start);
  toChildBoundary(range, true);
  const NodePtr parent = range.start.node;
  std::size_t at = range.start.offset;
  const NodePtr reference = at < parent->children().size() ? parent->children()[at] : nullptr;
  for (NodePtr& node : nodes) parent->insertBefore(std::move(node), reference.get());
  at = reference ? reference->indexInParent() : parent->children().size();
  range.collapseTo({parent, at});
}

namespace {

struct TextPiece {
  NodePtr node;
  std::size_t from;  // first byte of the node inside the range
  std::size_t to;
};

void collectText(const NodePtr& node, const LiveRange& range, bool toEndOfRoot,
                 std::vector<TextPiece>& out) {
  for (const NodePtr& child : node->children()) {
    if (child->kind() == NodeKind::Text) {
      const std::size_t size = child->data().size();
      const Boundary s{child, 0}, e{child, size};
      if (comparePoints(e, range.start) <= 0) continue;
      if (!toEndOfRoot && comparePoints(s, range.end) >= 0) continue;
      std::size_t from = 0, to = size;
      if (range.start.node == child) from = range.start.offset;
      if (!toEndOfRoot && range.end.node == child) to = range.end.offset;
      if (from < to) out.push_back({child, from, to});
    } else if (child->isElement()) {
      collectText(child, range, toEndOfRoot, out);
    }
  }
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string textOf(const LiveRange& range) {
  if (range.start.node == range.end.node && !range.start.node->isElement()) {
    return range.start.node->data().substr(range.start.offset,
                                          range.end.offset - range.start.offset);
  }
  std::vector<TextPiece> pieces;
  collectText(commonAncestorElement(range), range, false, pieces);
  std::string text;
  for (const TextPiece& p : pieces) text += p.node->data().substr(p.from, p.to - p.from);
  return text;
}

bool findText(LiveRange& range, const Node& root, std::string_view wanted) {
  if (wanted.empty()) return false;
  std::vector<TextPiece> pieces;
  const bool toEnd = range.collapsed();
  if (!toEnd && range.start.node == range.end.node && !range.start.node->isElement()) {
    pieces.push_back({range.start.node, range.start.offset, range.end.offset});
  } else {
    collectText(std::const_pointer_cast<Node>(root.shared_from_this()), range, toEnd, pieces);
  }
  std::string text;
  for (const TextPiece& p : pieces) text += p.node->data().substr(p.from, p.to - p.from);
  const auto hit = std::search(text.begin(), text.end(), wanted.begin(), wanted.end(),
                               [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
  if (hit == text.end()) return false;
  const std::size_t begin = static_cast<std::size_t>(hit - text.begin());
  const std::size_t end = begin + wanted.size();
  // Back from a position in the joined text to a point in one text node.
  auto pointAt = [&](std::size_t pos, bool isEnd) {
    std::size_t seen = 0;
    for (const TextPiece& p : pieces) {
      const std::size_t len = p.to - p.from;
      if (pos < seen + len || (isEnd && pos == seen + len)) return Boundary{p.node, p.from + pos - seen};
      seen += len;
    }
    return Boundary{pieces.back().node, pieces.back().to};
  };
  range.start = pointAt(begin, false);
  range.end = pointAt(end, true);
  return true;
}

}  // namespace reVoziz::pagemodel
