#pragma once
// What a range holds and how editing changes it: comparing points, cutting
// text nodes at the boundaries, taking the content out, putting nodes in,
// and finding text.

#include <string>
#include <string_view>
#include <vector>

#include "pagemodel/live_range.h"

namespace reVoziz::pagemodel {

// -1, 0 or 1 as `a` lies before, at or after `b` in document order.
int comparePoints(const Boundary& a, const Boundary& b);

// The innermost element that holds the whole range.
NodePtr commonAncestorElement(const LiveRange& range);

// Copies of the content, partly selected elements copied without the rest.
std::vector<NodePtr> cloneContents(LiveRange& range);
// Takes the content out of the page and collapses the range where it was.
std::vector<NodePtr> extractContents(LiveRange& range);
// Puts `nodes` in at the range's start and collapses the range after them.
void insertNodes(LiveRange& range, std::vector<NodePtr> nodes);

// The text of the text nodes inside the range.
std::string textOf(const LiveRange& range);
// Narrows the range to the first occurrence of `text`, compared without ASCII
// case, inside it; a collapsed range searches to the end of `root`.
bool findText(LiveRange& range, const Node& root, std::string_view text);

}  // namespace reVoziz::pagemodel
