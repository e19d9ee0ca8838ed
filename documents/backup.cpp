#include "core/error.h"
#include "core/skip_failure.h"
#include "core/started_flag.h"
#include "core/text.h"
#include "documents/notes_documents.h"
#include "documents/stored_form.h"

namespace reVoziz {

bool NotesDocuments::backupNotes(const Window& w) {
  return whenStarted([&] {
    state_.NotesBackup = w.document().element("notes").innerHTML();
    return false;
  });
}

void NotesDocuments::restoreNotes(const Window& w) {
  whenStarted([&] {
    if (state_.NotesBackup.empty()) return;
    w.document().element("notes").setInnerHTML(state_.NotesBackup);
    showFileName(w);
  });
}

void NotesDocuments::backupNotes1(const Window& w) {
  whenStarted([&] {
    const std::string folder = files_.temporaryFolder();
    const std::string page = composePage(w);
    if (!trimSpaces(state_.BackupFileName).empty()) {
      const std::string path = joinPath(files_, folder, state_.BackupFileName);
      // Written only while it is still ours: a link put in its place would
      // send the notes wherever it points. A name that is no longer ours is
      // given up, so the next backup claims a fresh one; a backup that the
      // system cleaned away claims one now.
      try {
        files_.openPrivateForReading(path).reset();
      } catch (const Error& e) {
        if (e.code() != ErrorCode::PermissionDenied && e.code() != ErrorCode::FileNotFound) throw;
        state_.BackupFileName.clear();
        if (e.code() == ErrorCode::PermissionDenied) throw;
      }
      if (!state_.BackupFileName.empty()) {
        writeStoredPage(files_, path, page);
        return;
      }
    }
    // The temporary folder is shared: the first backup claims a name with a
    // file of its own, readable by its owner only, and keeps the name only
    // once the backup is written; a backup that fails gives its claim up.
    const std::string prefix = joinPath(files_, folder, "");
    FreshFile claimed = createFreshFile(files_, prefix);
    claimed.file->close();
    const std::string path = prefix + claimed.name;
    bool written = false;
    const TidyOnExit giveUpClaim([&] {
      if (!written) files_.remove(path);
    });
    writeStoredPage(files_, path, page);
    written = true;
    state_.BackupFileName = claimed.name;
  });
}

void NotesDocuments::restoreNotes1(const Window& w) {
  whenStarted([&] {
    if (trimSpaces(state_.BackupFileName).empty()) return;
    const std::string path =
        joinPath(files_, files_.temporaryFolder(), state_.BackupFileName);
    // Only a file that is still ours is read: anyone may write the folder.
    const std::string page = fromStoredForm(files_.openPrivateForReading(path)->readAll());
    w.document().element("notes").setInnerHTML(storedNotes(w, page));
  });
}

}  // namespace reVoziz
