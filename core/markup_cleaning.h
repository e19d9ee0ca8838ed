#pragma once
// What markup from outside the lesson (a paste, a drop, an opened or restored
// notes file) keeps in the notes, which are saved as a page and opened again
// later: the text and its formatting that the allowlist names (see
// markup_allowlist.h), links that open outside the lesson, images that load
// nothing, and the sync tags as the notes page's template makes them.
// Everything else goes, its harmless text kept; so do the ids and names that
// would stand in for a member of the page or for what the page looks up.

#include <string>
#include <string_view>

#include "core/dom.h"
#include "core/taken_names.h"

namespace reVoziz {

// Cleans every node inside `holder`, the element the markup went into, for
// the notes of `page`.
void cleanPastedContent(const Document& page, const Element& holder, ReservedIds reservedIds);

// `markup` cleaned in a document of its own, created from `page`, that loads
// and runs nothing, until it parses back to itself and the cleaning finds
// nothing more: put into any element of `page`, it becomes the tree that was
// cleaned. Fails, and nothing is answered, when that point is not reached.
std::string cleanedMarkup(const Document& page, std::string_view markup, ReservedIds reservedIds);

}  // namespace reVoziz
