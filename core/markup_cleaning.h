#pragma once
// What markup from outside the lesson (a paste, a drop, an opened or restored
// notes file) may not bring into the notes, which are saved as a page and
// opened again later: executable elements, elements whose content a browser
// reads differently from a parser without scripting, comments, event
// handlers, script addresses, script in styles, and the ids that the notes
// page's own machinery looks up.

#include <string>
#include <string_view>

#include "core/dom.h"

namespace reVoziz {

// Whether `value`, or any item of it as a list separated by ";" or ",", is a
// javascript: or vbscript: address. Letter case, and white space and control
// characters inside and before the scheme, do not count.
bool isScriptAddress(std::string_view value);

// Whether a style attribute's value can run script once its CSS comments and
// escapes are undone.
bool isScriptStyle(std::string_view css);

// Cleans every node inside `holder`, the element the markup went into.
void cleanPastedContent(const Element& holder);

// `markup` cleaned in a document of its own, created from `page`, that loads
// and runs nothing, until it parses back to itself and the cleaning finds
// nothing more: put into any element of `page`, it becomes the tree that was
// cleaned. Fails, and nothing is answered, when that point is not reached.
std::string cleanedMarkup(const Document& page, std::string_view markup);

}  // namespace reVoziz
