#pragma once
// The selection of one document: nothing, a caret, selected text, or one
// object selected as a whole (an image, a field). Tests and tools place it as
// the user would; the page's script reads it through `document.selection`.

#include <memory>

#include "pagemodel/live_range.h"

namespace reVoziz::pagemodel {

enum class SelectionType { None, Text, Control };

class SelectionModel {
 public:
  explicit SelectionModel(LiveRanges& ranges) : ranges_(ranges) {}

  // "Text" only for a selection that holds something; a caret is "None".
  SelectionType type() const;
  void placeCaret(const Boundary& at) { selectRange(at, at); }
  void selectRange(const Boundary& start, const Boundary& end);
  void selectControl(NodePtr element);
  void clear();

  // The caret or selected text; null when there is none, or an object is selected.
  const std::shared_ptr<LiveRange>& range() const { return range_; }
  // The object selected as a whole; null otherwise.
  const NodePtr& control() const { return control_; }

 private:
  LiveRanges& ranges_;
  std::shared_ptr<LiveRange> range_;
  NodePtr control_;
};

}  // namespace reVoziz::pagemodel
