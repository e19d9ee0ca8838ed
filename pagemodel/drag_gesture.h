#pragma once
// A drag of the selected content onto a point of a page, as the user makes
// it: "dragstart" at the selection, "dragenter" and "drop" at the target,
// "dragend" at the source. The drop happens unless a drop handler cancels it,
// and only into editable content; content dragged within one editable region
// moves, content from elsewhere is copied.

#include "pagemodel/live_range.h"

namespace reVoziz::pagemodel {

class WindowModel;

// Returns whether the content was dropped.
bool dragSelection(WindowModel& from, WindowModel& to, const Boundary& dropPoint);

}  // namespace reVoziz::pagemodel
