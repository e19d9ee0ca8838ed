// Sync tags: inserting a stamped copy of the page's template, the clicks and
// focus changes inside the notes, and the time codes of a tag's field.

#include <algorithm>

#include "core/checked_arithmetic.h"
#include "core/page_lookups.h"
#include "core/rounding.h"
#include "core/skip_failure.h"
#include "core/started_flag.h"
#include "core/time_code.h"
#include "editor/notes_editor.h"

namespace reVoziz {
namespace {

// The time-code field of the tag that holds `button`.
Element fieldBeside(const Element& button) {
  return Element(button.parentElement().all().member("timeCode"));
}

}  // namespace

void NotesEditor::insertSyncTag(const Window& w) const {
  whenStarted([&] {
    w.event().setCancelBubble(true);
    const Document document = w.document();
    const Element notes = document.element("notes");
    const TextRange range = document.selection().createRange();
    range.collapse(true);
    bool stamped = false;
    // A copy left behind by a failed step would still carry the template's id,
    // and two elements of that id break every later insertion: take it out.
    const TidyOnExit removeUnstampedCopy([&] {
      if (stamped) return;
      for (const Element& copy : elementsNamed(notes.all(), "syncTemplate")) copy.removeNode(true);
    });
    const Element holder = range.parentElement();
    Element enclosingTag;
    if (notes.contains(holder) && findClassAncestor(holder, "tq_syncTag", enclosingTag)) {
      // Never inside another tag, whose field or buttons hold the caret: after it.
      enclosingTag.insertAdjacentElement("afterEnd", document.element("syncTemplate").cloneNode(true));
    } else if (notes.contains(holder)) {
      range.pasteHTML(document.element("syncTemplate").outerHTML());
    } else {
      notes.insertAdjacentElement("beforeEnd", document.element("syncTemplate").cloneNode(true));
    }
    const Element tag(notes.all().member("syncTemplate"));
    tag.style().setDisplay("inline");
    const double position = state_.Player.controls().currentPosition();
    Element(tag.all().member("timeCode")).setFieldValue(secondsToTime(toInt32HalfEven(position)));
    tag.setId("");
    stamped = true;
  });
}

void NotesEditor::notesClickDispatch(const Window& w) const {
  whenStarted([&] {
    skipFailure([&] { w.event().setCancelBubble(true); });
    std::string className;
    Element src;
    skipFailure([&] {
      src = w.event().srcElement();
      className = src.className();
    });
    if (className == "tq_sync") {
      skipFailure([&] { syncVideo(w, fieldBeside(src).fieldValue().toText()); });
    } else if (className == "tq_decrement") {
      skipFailure([&] { adjustTimeCode(w, fieldBeside(src), -1); });
    } else if (className == "tq_increment") {
      skipFailure([&] { adjustTimeCode(w, fieldBeside(src), 1); });
    }
  });
}

void NotesEditor::notesFocusOutDispatch(const Window& w) const {
  whenStarted([&] {
    skipFailure([&] { w.event().setCancelBubble(true); });
    skipFailure([&] {
      const Element src = w.event().srcElement();
      if (src.className() == "tq_syncValue") formatTimeCode(w, src);
    });
  });
}

void NotesEditor::formatTimeCode(const Window& w, const Element& tc) const {
  w.event().setCancelBubble(true);
  tc.setFieldValue(secondsToTime(timeToSeconds(tc.fieldValue().toText())));
}

void NotesEditor::adjustTimeCode(const Window&, const Element& tc, std::int32_t secs) const {
  const std::int32_t sum = checkedAdd(timeToSeconds(tc.fieldValue().toText()), secs);
  // A time before the start of the video is the start.
  tc.setFieldValue(secondsToTime(std::max(sum, 0)));
}

void NotesEditor::syncVideo(const Window&, std::string_view timeText) const {
  transcript_.goTo_(secondsToTime(timeToSeconds(timeText)));
}

}  // namespace reVoziz
