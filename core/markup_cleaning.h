#pragma once
// What markup from outside the lesson (a paste, a drop, an opened or restored
// notes file) may not bring into the notes, which are saved as a page and
// opened again later: executable elements, elements whose content a browser
// reads differently from a parser without scripting, comments, event
// handlers, script addresses, script in styles, and the ids and names that
// the caller reserves for the page around the notes.

#include <span>
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

// The ids and names that the cleaning drops, compared without letter case.
using ReservedIds = std::span<const std::string_view>;

// Cleans every node inside `holder`, the element the markup went into.
void cleanPastedContent(const Element& holder, ReservedIds reservedIds);

// `markup` cleaned in a document of its own, created from `page`, that loads
// and runs nothing, until it parses back to itself and the cleaning finds
// nothing more: put into any element of `page`, it becomes the tree that was
// cleaned. Fails, and nothing is answered, when that point is not reached.
std::string cleanedMarkup(const Document& page, std::string_view markup, ReservedIds reservedIds);

}  // namespace reVoziz
