#include "pagemodel/drag_gesture.h"

#include "pagemodel/content_editable.h"
#include "pagemodel/document_model.h"
#include "pagemodel/editing_commands.h"
#include "pagemodel/event_dispatch.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"
#include "pagemodel/range_content.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {

bool dragSelection(WindowModel& from, WindowModel& to, const Boundary& dropPoint) {
  DocumentModel& source = *from.document();
  DocumentModel& target = *to.document();
  const auto dragged = selectedRange(source);
  if (!dragged || dragged->collapsed()) return false;
  const NodePtr sourceElement = selectionElement(source);
  if (!defaultAllowed(*raiseEvent(from, sourceElement, {"dragstart"}))) return false;
  const std::string html = serializeAll(cloneContents(*dragged));

  const auto drop = target.liveRanges().make(dropPoint, dropPoint);
  const NodePtr dropElement = commonAncestorElement(*drop);
  raiseEvent(to, dropElement, {"dragenter"});
  const bool allowed = defaultAllowed(*raiseEvent(to, dropElement, {"drop"}));
  const NodePtr host = editingHost(*dropElement);
  const bool dropped = allowed && host;
  if (dropped) {
    std::string before = serializeChildren(*host);
    if (&source == &target && editingHost(*sourceElement) == host) extractContents(*dragged);
    insertNodes(*drop, parseFragment(html, commonAncestorElement(*drop)->tag()));
    target.undoHistory().record({host, std::move(before), serializeChildren(*host)});
    target.selection().placeCaret(drop->start);
    target.noteWrite();
  }
  raiseEvent(from, sourceElement, {"dragend"});
  return dropped;
}

}  // namespace reVoziz::pagemodel
