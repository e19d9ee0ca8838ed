#pragma once
// Notes documents: the notes page format, the file commands with their
// unsaved-change guards, and the in-memory and temporary-file copies of the
// notes. Every method applies the StartedFlag gate itself.

#include <string>
#include <string_view>

#include "core/control_state.h"
#include "core/dom.h"
#include "core/platform.h"

namespace reVoziz {

// The keys that enclose the notes' markup and the content title in a notes page.
inline constexpr std::string_view kNotesKey = "<!--notes-->";
inline constexpr std::string_view kTitleKey = "<!--title-->";

class NotesDocuments {
 public:
  NotesDocuments(ControlState& state, Timer& timer, FileDialog& dialog, FileSystem& files)
      : state_(state), timer_(timer), dialog_(dialog), files_(files) {}

  // Notes page format.
  std::string composePage(const Window& w) const;
  std::string pageExtract(std::string_view page, std::string_view key) const;
  bool checkContent(const Window& w, std::string_view page) const;

  // File commands and guards.
  void newNotes(const Window& w);
  void openNotes(const Window& w);
  void saveNotes(const Window& w);
  bool checkChanges(const Window& w);
  bool checkUnsaved(const Window& w);

  // Backup and restore.
  bool backupNotes(const Window& w);
  void restoreNotes(const Window& w);
  void backupNotes1(const Window& w);
  void restoreNotes1(const Window& w);

 private:
  // Shows the current file's name, without its folder, in `notesFile`.
  void showFileName(const Window& w) const;
  // The notes page of `w` holding `notes`.
  std::string composeWith(const Window& w, std::string_view notes) const;
  // The notes stored in `page`, cleaned as a paste is: a stored file may come
  // from anyone.
  std::string storedNotes(const Window& w, std::string_view page) const;

  ControlState& state_;
  Timer& timer_;
  FileDialog& dialog_;
  FileSystem& files_;
};

}  // namespace reVoziz
