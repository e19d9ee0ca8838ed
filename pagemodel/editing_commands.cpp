#include "pagemodel/editing_commands.h"

#include <algorithm>

#include "pagemodel/content_editable.h"
#include "pagemodel/document_model.h"
#include "pagemodel/event_dispatch.h"
#include "pagemodel/html_parser.h"
#include "pagemodel/html_serializer.h"
#include "pagemodel/member_args.h"
#include "pagemodel/range_content.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {
namespace {

WindowModel& windowOf(DocumentModel& document) {
  const auto window = document.window();
  if (!window) throw Error(ErrorCode::HostError, "The document has no window");
  return *window;
}

ClipboardModel& clipboardOf(DocumentModel& document) { return windowOf(document).top()->clipboard; }

// Runs `edit` on the editing host of the selection and records it for undo;
// false when the selection is not editable or `edit` declines.
template <class Edit>
bool editSelection(DocumentModel& document, Edit&& edit) {
  const auto range = selectedRange(document);
  if (!range) return false;
  const NodePtr host = editingHost(*commonAncestorElement(*range));
  if (!host) return false;
  std::string before = serializeChildren(*host);
  if (!edit(*range)) return false;
  document.undoHistory().record({host, std::move(before), serializeChildren(*host)});
  document.noteWrite();
  return true;
}

void caretAfterEdit(DocumentModel& document, const LiveRange& range) {
  document.selection().selectRange(range.start, range.end);
}

bool copy(DocumentModel& document) {
  const auto range = selectedRange(document);
  if (!range || range->collapsed()) return false;
  clipboardOf(document).html = serializeAll(cloneContents(*range));
  return true;
}

bool cut(DocumentModel& document) {
  return editSelection(document, [&](LiveRange& range) {
    if (range.collapsed()) return false;
    clipboardOf(document).html = serializeAll(extractContents(range));
    caretAfterEdit(document, range);
    return true;
  });
}

bool paste(DocumentModel& document) {
  const ClipboardModel& clipboard = clipboardOf(document);
  if (!clipboard.scriptAccess) return false;  // refused before any event, as browsers do
  const auto event = raiseEvent(windowOf(document), selectionElement(document), {"paste"});
  if (!defaultAllowed(*event) || !clipboard.html) return true;
  editSelection(document, [&](LiveRange& range) {
    extractContents(range);
    const NodePtr holder = commonAncestorElement(range);
    insertNodes(range, parseFragment(*clipboard.html, holder->tag()));
    caretAfterEdit(document, range);
    return true;
  });
  return true;
}

// Bold or italic: wraps the selected content in `tag`, or, when the selection
// already lies inside such formatting, removes that formatting element.
bool format(DocumentModel& document, std::string_view tag, std::string_view alternative) {
  return editSelection(document, [&](LiveRange& range) {
    if (range.collapsed()) return false;
    const NodePtr holder = commonAncestorElement(range);
    const NodePtr host = editingHost(*holder);
    for (Node* n = holder.get(); n && n != host.get(); n = n->parent()) {
      if (n->tag() == tag || n->tag() == alternative) {
        const NodePtr formatting = n->shared_from_this();
        const std::vector<NodePtr> kids = formatting->children();
        for (const NodePtr& kid : kids) formatting->parent()->insertBefore(kid, formatting.get());
        formatting->detach();
        return true;
      }
    }
    NodePtr wrapper = Node::makeElement(std::string(tag));
    wrapper->replaceChildren(extractContents(range));
    insertNodes(range, {wrapper});
    document.selection().selectRange({wrapper, 0}, {wrapper, wrapper->children().size()});
    return true;
  });
}

bool undoOrRedo(DocumentModel& document, bool undo) {
  const EditStep* step = undo ? document.undoHistory().undo() : document.undoHistory().redo();
  if (!step) return false;
  const NodePtr& host = step->host;
  host->replaceChildren(parseFragment(undo ? step->before : step->after, host->tag()));
  document.selection().placeCaret({host, host->children().size()});
  document.noteWrite();
  return true;
}

}  // namespace

std::string serializeAll(const std::vector<NodePtr>& nodes) {
  std::string html;
  for (const NodePtr& n : nodes) html += serializeNode(*n);
  return html;
}

std::shared_ptr<LiveRange> selectedRange(DocumentModel& document) {
  const SelectionModel& selection = document.selection();
  if (const NodePtr& control = selection.control()) {
    if (!control->parent()) return nullptr;
    const NodePtr parent = control->parent()->shared_from_this();
    const std::size_t index = control->indexInParent();
    return document.liveRanges().make({parent, index}, {parent, index + 1});
  }
  return selection.range();
}

NodePtr selectionElement(DocumentModel& document) {
  if (const NodePtr& control = document.selection().control()) return control;
  if (const auto& range = document.selection().range()) return commonAncestorElement(*range);
  return document.body() ? document.body() : document.root();
}

Value execCommand(DocumentModel& document, std::string_view command) {
  if (sameHtmlName(command, "print")) {
    document.executedCommands.emplace_back(command);
    return true;
  }
  static constexpr std::string_view kKnown[] = {"Undo", "Redo", "Cut", "Copy", "Paste", "Bold", "Italic"};
  const auto known = std::find_if(std::begin(kKnown), std::end(kKnown),
                                  [&](std::string_view k) { return sameHtmlName(k, command); });
  if (known == std::end(kKnown)) {
    throw Error(ErrorCode::HostError, "The page model does not run the command " + std::string(command));
  }
  document.executedCommands.emplace_back(*known);
  if (*known == "Undo") return undoOrRedo(document, true);
  if (*known == "Redo") return undoOrRedo(document, false);
  if (*known == "Cut") return cut(document);
  if (*known == "Copy") return copy(document);
  if (*known == "Paste") return paste(document);
  if (*known == "Bold") return format(document, "b", "strong");
  return format(document, "i", "em");
}

}  // namespace reVoziz::pagemodel
