#pragma once
// The notes editor: sync tags, the edit bar and its shortcut, the rules on
// where editing may happen, and cleaned paste and drag-and-drop.

#include <cstdint>
#include <string_view>

#include "core/control_state.h"
#include "core/dom.h"
#include "documents/notes_documents.h"
#include "transcript/transcript.h"

namespace reVoziz {

class NotesEditor {
 public:
  // The edit bar's file buttons call `documents`; the tags' seek button, `transcript`.
  NotesEditor(ControlState& state, NotesDocuments& documents, const Transcript& transcript)
      : state_(state), documents_(documents), transcript_(transcript) {}

  // Sync tags.
  void insertSyncTag(const Window& w) const;
  void notesClickDispatch(const Window& w) const;
  void notesFocusOutDispatch(const Window& w) const;
  void syncVideo(const Window& w, std::string_view timeText) const;
  void adjustTimeCode(const Window& w, const Element& tc, std::int32_t secs) const;
  void formatTimeCode(const Window& w, const Element& tc) const;

  // Edit bar, keys and selection.
  void editBarDispatch(const Window& w) const;
  void notesKeyDispatch(const Window& w) const;
  bool editableSelection(const Window& w) const;
  Element parentSelection(const Window& w) const;

  // Paste and drag-and-drop.
  void notesPaste(const Window& w);
  void notesDragStart();
  void notesDragEnter(const Window& w) const;
  void notesDragEnd();
  void notesDrop(const Window& w) const;

  bool pasteInProgress() const { return pasteInProgress_; }
  bool dragFromNotes() const { return dragFromNotes_; }

 private:
  void reissuePaste(const Window& w, const Event& event);

  ControlState& state_;
  NotesDocuments& documents_;
  const Transcript& transcript_;
  // True from a re-issued paste until its nested paste event arrives.
  bool pasteInProgress_ = false;
  // True from a drag start in the notes until that drag's end.
  bool dragFromNotes_ = false;
};

}  // namespace reVoziz
