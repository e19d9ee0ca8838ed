#pragma once
// Ranges that stay valid while the tree changes: the selection and the text
// ranges a script holds. Insertions and removals move their boundaries the
// way a browser moves live ranges.

#include <cstddef>
#include <memory>
#include <vector>

#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

// A point between two children of an element, or between two characters
// (bytes) of a text node.
struct Boundary {
  NodePtr node;
  std::size_t offset = 0;
  bool operator==(const Boundary&) const = default;
};

struct LiveRange {
  Boundary start;
  Boundary end;
  bool collapsed() const { return start == end; }
  void collapseTo(const Boundary& point) { start = end = point; }
};

// The number of positions inside a node: characters of a text, children of an element.
std::size_t lengthOf(const Node& node);

// The live ranges of one document.
class LiveRanges {
 public:
  std::shared_ptr<LiveRange> make(Boundary start, Boundary end);

  // Called by the tree after `index` became a new child of `parent`.
  void inserted(const Node& parent, std::size_t index);
  // Called by the tree before `node` leaves its parent.
  void removing(const Node& node);
  // Called before every child of `parent` is dropped at once.
  void childrenReplaced(const Node& parent);
  // Called after a text node was cut at `offset`, its tail now in `tail`.
  void split(const Node& text, std::size_t offset, const NodePtr& tail);
  // Called after a text node's data changed.
  void dataChanged(const Node& text);

 private:
  template <class Adjust>
  void forEachBoundary(Adjust&& adjust);

  std::vector<std::weak_ptr<LiveRange>> ranges_;
};

}  // namespace reVoziz::pagemodel
