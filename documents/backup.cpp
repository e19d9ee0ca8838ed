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
    std::string name = state_.BackupFileName;
    const bool firstBackup = trimSpaces(name).empty();
    if (firstBackup) name = files_.freshTemporaryName();
    const std::string path = joinPath(files_, folder, name);
    const std::string page = composePage(w);
    // The temporary folder is shared: the first backup claims its name with a
    // file of its own, readable by its owner only. The name is kept only once
    // the backup is written, so no later call reads a file someone else holds.
    if (firstBackup) files_.createExclusive(path)->close();
    writeStoredPage(files_, path, page);
    state_.BackupFileName = name;
  });
}

void NotesDocuments::restoreNotes1(const Window& w) {
  whenStarted([&] {
    if (trimSpaces(state_.BackupFileName).empty()) return;
    const std::string path =
        joinPath(files_, files_.temporaryFolder(), state_.BackupFileName);
    const std::string page = readStoredPage(files_, path);
    w.document().element("notes").setInnerHTML(pageExtract(page, kNotesKey));
  });
}

}  // namespace reVoziz
