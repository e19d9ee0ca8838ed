#pragma once
// HTML serialisation of model nodes, for innerHTML and outerHTML.

#include <string>

#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

std::string serializeNode(const Node& node);
std::string serializeChildren(const Node& node);

// Elements that have no content and no end tag.
bool isVoidElement(std::string_view tag);

}  // namespace reVoziz::pagemodel
