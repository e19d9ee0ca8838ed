// Paste and drag-and-drop into the notes: a paste is re-issued into a hidden
// marker and cleaned there; a drop is let through only for a drag that began
// in the notes.

#include "core/markup_cleaning.h"
#include "core/page_lookups.h"
#include "core/skip_failure.h"
#include "core/started_flag.h"
#include "core/text.h"
#include "documents/notes_page_ids.h"
#include "editor/notes_editor.h"

namespace reVoziz {
namespace {

constexpr std::string_view kPasteMarker =
    "<span id='pastePoint' style='display:none;'>[paste]</span>";
constexpr std::string_view kPlaceholder = "[paste]";

// Takes our marker out of the page with whatever it holds, and with it any
// marker that holds only the placeholder: none of those holds anything of the
// user's, and a second marker would make every later paste fail.
void discardMarkers(const Document& document, const Element& marker) {
  for (const Element& m : elementsNamed(document.all(), "pastePoint")) {
    if (m.sameAs(marker) || m.innerHTML() == kPlaceholder) m.removeNode(true);
  }
}

}  // namespace

void NotesEditor::notesPaste(const Window& w) {
  whenStarted([&] {
    const Event event = w.event();
    // A paste that cannot be judged, because a step failed, is refused: the
    // host's own paste would bring the content in uncleaned.
    bool passed = false;
    const TidyOnExit refuseUnlessPassed([&] {
      if (!passed) event.setReturnValue(false);
    });
    event.setCancelBubble(true);
    const std::string type = lowerCase(w.document().selection().type());
    if (type == "control" || !editableSelection(w)) {
      event.setReturnValue(false);
      return;
    }
    if (pasteInProgress_) {
      // The nested event of our own re-issued paste: the host pastes into the marker.
      pasteInProgress_ = false;
      passed = true;
      return;
    }
    reissuePaste(w, event);
  });
}

void NotesEditor::reissuePaste(const Window& w, const Event& event) {
  const Document document = w.document();
  Element marker;
  bool cleaned = false;
  pasteInProgress_ = true;
  // On every way out the flag is down again, so that the next paste is not
  // let through uncleaned, and a marker whose content was not cleaned leaves
  // the notes with that content.
  const TidyOnExit tidy([&] {
    pasteInProgress_ = false;
    if (!cleaned) discardMarkers(document, marker);
  });
  event.setReturnValue(false);
  const TextRange range = document.selection().createRange();
  range.pasteHTML(kPasteMarker);
  marker = document.element("pastePoint");
  range.moveToElementText(marker);
  range.findText(kPlaceholder);
  range.select();
  const Element placeholder = marker.firstChild();
  document.execCommand("Paste", true);
  // No nested event, or an empty or refused clipboard: the placeholder alone
  // is still there. Pasted text that reads the same is another node.
  if (marker.firstChild().sameAs(placeholder) && !placeholder.nextSibling().isSet() &&
      marker.innerHTML() == kPlaceholder) {
    return;
  }
  cleanPastedContent(document, marker, kNotesPageReservedIds);
  marker.removeNode(false);
  cleaned = true;
}

void NotesEditor::notesDragStart() {
  whenStarted([&] { dragFromNotes_ = true; });
}

void NotesEditor::notesDragEnter(const Window&) const {}

void NotesEditor::notesDragEnd() {
  whenStarted([&] { dragFromNotes_ = false; });
}

void NotesEditor::notesDrop(const Window& w) const {
  whenStarted([&] {
    const Event event = w.event();
    // A drop whose step failed is refused, as one from outside the notes is.
    bool decided = false;
    const TidyOnExit refuseUnlessDecided([&] {
      if (!decided) event.setReturnValue(false);
    });
    event.setCancelBubble(true);
    event.setReturnValue(dragFromNotes_);
    decided = true;
  });
}

}  // namespace reVoziz
