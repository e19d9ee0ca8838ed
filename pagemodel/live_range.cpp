#include "pagemodel/live_range.h"

#include <algorithm>

namespace reVoziz::pagemodel {

std::size_t lengthOf(const Node& node) {
  return node.isElement() ? node.children().size() : node.data().size();
}

std::shared_ptr<LiveRange> LiveRanges::make(Boundary start, Boundary end) {
  auto range = std::make_shared<LiveRange>(LiveRange{std::move(start), std::move(end)});
  ranges_.push_back(range);
  return range;
}

template <class Adjust>
void LiveRanges::forEachBoundary(Adjust&& adjust) {
  std::erase_if(ranges_, [](const std::weak_ptr<LiveRange>& r) { return r.expired(); });
  for (const auto& weak : ranges_) {
    const auto range = weak.lock();
    adjust(range->start);
    adjust(range->end);
  }
}

void LiveRanges::inserted(const Node& parent, std::size_t index) {
  forEachBoundary([&](Boundary& b) {
    if (b.node.get() == &parent && b.offset > index) ++b.offset;
  });
}

void LiveRanges::removing(const Node& node) {
  Node* parent = node.parent();
  if (!parent) return;
  const std::size_t index = node.indexInParent();
  forEachBoundary([&](Boundary& b) {
    if (node.contains(b.node.get())) {
      b = {parent->shared_from_this(), index};
    } else if (b.node.get() == parent && b.offset > index) {
      --b.offset;
    }
  });
}

void LiveRanges::childrenReplaced(const Node& parent) {
  forEachBoundary([&](Boundary& b) {
    if (b.node && parent.contains(b.node.get())) {
      b = {std::const_pointer_cast<Node>(parent.shared_from_this()), 0};
    }
  });
}

void LiveRanges::split(const Node& text, std::size_t offset, const NodePtr& tail) {
  const Node* parent = text.parent();
  const std::size_t after = parent ? text.indexInParent() + 1 : 0;
  forEachBoundary([&](Boundary& b) {
    if (b.node.get() == &text && b.offset > offset) {
      b = {tail, b.offset - offset};
    } else if (parent && b.node.get() == parent && b.offset == after) {
      ++b.offset;  // a point right after the text stays after its tail
    }
  });
}

void LiveRanges::dataChanged(const Node& text) {
  forEachBoundary([&](Boundary& b) {
    if (b.node.get() == &text) b.offset = std::min(b.offset, text.data().size());
  });
}

}  // namespace reVoziz::pagemodel
