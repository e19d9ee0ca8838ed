// The edit bar, the Ctrl+T shortcut, and the rules on where editing may
// happen: inside the notes, outside any sync tag.

#include <array>

#include "core/page_lookups.h"
#include "core/skip_failure.h"
#include "core/started_flag.h"
#include "core/text.h"
#include "editor/notes_editor.h"

namespace reVoziz {
namespace {

constexpr std::int32_t kKeyT = 84;

// The edit bar's editing commands, by button id.
struct CommandButton {
  std::string_view id;
  std::string_view command;
  bool onlyWhereEditable;
};
constexpr std::array<CommandButton, 7> kCommandButtons = {{
    {"undo", "Undo", false},
    {"redo", "Redo", false},
    {"cut", "Cut", true},
    {"copy", "Copy", true},
    {"paste", "Paste", true},
    {"bold", "Bold", true},
    {"italic", "Italic", true},
}};

}  // namespace

void NotesEditor::editBarDispatch(const Window& w) const {
  whenStarted([&] {
    skipFailure([&] { w.event().setCancelBubble(true); });
    std::string id;
    skipFailure([&] { id = w.event().srcElement().id(); });
    if (id == "newnotes") {
      skipFailure([&] { documents_.newNotes(w); });
    } else if (id == "opennotes") {
      skipFailure([&] { documents_.openNotes(w); });
    } else if (id == "save") {
      skipFailure([&] { documents_.saveNotes(w); });
    }
    for (const CommandButton& button : kCommandButtons) {
      if (id != button.id) continue;
      // A guard that fails is skipped as a whole, and the command runs.
      bool editable = true;
      if (button.onlyWhereEditable) skipFailure([&] { editable = editableSelection(w); });
      if (editable) skipFailure([&] { w.document().execCommand(button.command); });
    }
    if (id == "synctag") skipFailure([&] { insertSyncTag(w); });
  });
}

void NotesEditor::notesKeyDispatch(const Window& w) const {
  whenStarted([&] {
    const Event event = w.event();
    const std::int32_t key = event.keyCode();
    // Shift and Alt are not looked at: Ctrl+Shift+T inserts a tag too.
    if (event.ctrlKey() && key == kKeyT) insertSyncTag(w);
  });
}

Element NotesEditor::parentSelection(const Window& w) const {
  const Selection selection = w.document().selection();
  if (lowerCase(selection.type()) == "control") {
    return selection.createRange().item(0).parentElement();
  }
  return selection.createRange().parentElement();
}

bool NotesEditor::editableSelection(const Window& w) const {
  return whenStarted([&] {
    const Element element = parentSelection(w);
    const Element notes = w.document().element("notes");
    return notes.contains(element) && !classContains("tq_syncTag", element);
  });
}

}  // namespace reVoziz
