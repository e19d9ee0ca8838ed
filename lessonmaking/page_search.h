#pragma once
// Finding elements in a parsed page, for the lesson maker and its check.

#include <functional>
#include <string_view>

#include "pagemodel/node.h"

namespace reVoziz::lessonmaking {

// The first element below `root`, in document order, that `match` accepts;
// null when there is none.
pagemodel::NodePtr findElement(const pagemodel::NodePtr& root,
                               const std::function<bool(const pagemodel::NodePtr&)>& match);

// The first element below `root` whose id is `id`.
pagemodel::NodePtr findById(const pagemodel::NodePtr& root, std::string_view id);

}  // namespace reVoziz::lessonmaking
