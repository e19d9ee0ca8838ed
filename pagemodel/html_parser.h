#pragma once
// HTML5 parsing into model nodes, with gumbo.

#include <string_view>
#include <vector>

#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

// The <html> element of a whole page.
NodePtr parseDocument(std::string_view html);

// The nodes of a fragment parsed as the content of an element of `contextTag`.
std::vector<NodePtr> parseFragment(std::string_view html, std::string_view contextTag);

}  // namespace reVoziz::pagemodel
