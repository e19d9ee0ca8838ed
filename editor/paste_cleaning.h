#pragma once
// What a paste may not bring into the notes, which are saved as a page and
// opened again later: executable elements, event handlers, script addresses,
// and the ids that the editor's own machinery looks up.

#include <string_view>

#include "core/dom.h"

namespace reVoziz {

// Whether `value` is a javascript: or vbscript: address. Letter case, and
// white space and control characters inside and before the scheme, do not count.
bool isScriptAddress(std::string_view value);

// Cleans every element inside `holder`, the element the paste went into.
void cleanPastedContent(const Element& holder);

}  // namespace reVoziz
