#pragma once
// `document.execCommand` of the page model: the clipboard commands, bold and
// italic, undo and redo, and print. Editing commands act only on editable
// content. "Paste" raises the paste event at the selection before it returns;
// only when no handler cancels it does the clipboard's HTML replace the selection.

#include <string_view>

#include <memory>

#include "core/value.h"
#include "pagemodel/live_range.h"

namespace reVoziz::pagemodel {

class DocumentModel;

// The selection as a range: the caret or text, or the span of the object
// selected as a whole; null when nothing is selected.
std::shared_ptr<LiveRange> selectedRange(DocumentModel& document);
// The element the selection lies in, or the selected object, where events
// about the selection are raised.
NodePtr selectionElement(DocumentModel& document);
std::string serializeAll(const std::vector<NodePtr>& nodes);

// Returns whether the command ran; an unknown command fails.
Value execCommand(DocumentModel& document, std::string_view command);

}  // namespace reVoziz::pagemodel
