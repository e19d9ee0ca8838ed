#pragma once
// Which changes of a document's tree can change what the control reads of a
// list or looks up. The others leave the document's change stamp put, so that
// a tick keeps its walk over a list across a student's keyboard moving
// tabindex or aria-current, a button shown, or a word edited in a segment.

#include <string_view>

#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

class DocumentModel;

struct TreeChange {
  enum class Kind { Attribute, Data, Child };
  Kind kind;
  // The element of the attribute, the text or comment whose data changed, or
  // the child just added to `parent` or just removed from it.
  const Node& node;
  // The attribute's name, or the data before the change.
  std::string_view detail = {};
  const Node* parent = nullptr;
};

// Whether the change, already made, can change what the control reads of a
// list of `document` (the rules are listed where it is defined).
bool canChangeWhatTheControlReads(const TreeChange& change, const DocumentModel& document);

}  // namespace reVoziz::pagemodel
