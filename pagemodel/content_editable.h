#pragma once
// Editable regions: an element whose contenteditable attribute is "true" or
// empty makes its content editable, "false" stops it, anything else inherits.

#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

bool isEditable(const Node& node);
// The outermost editable element around `node`; null when it is not editable.
NodePtr editingHost(const Node& node);

}  // namespace reVoziz::pagemodel
