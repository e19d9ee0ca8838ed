#include "core/page_lookups.h"
#include "core/started_flag.h"
#include "core/text.h"
#include "documents/changes_dialog_page.h"
#include "documents/notes_documents.h"
#include "documents/stored_form.h"

namespace reVoziz {
namespace {

constexpr std::string_view kAnyNotesFile = "*.notes";
constexpr std::string_view kOpenFilter = "reVoziz Files (*.notes)|*.notes|HTM Files (*.html)|*.html";
constexpr std::string_view kSaveFilter = "reVoziz Files (*.notes)|*.notes";
constexpr std::string_view kChangesDialogFeatures =
    "dialogHeight:115px;dialogWidth:290px;scroll:off;status:no;";
constexpr std::string_view kUnsavedWarning =
    "Sus notas tienen cambios que no han sido salvados en un archivo.\r"
    "Si no desea perderlos, presione [Cancel] y proceda a salvar sus notas.";

std::string notesMarkup(const Window& w) { return w.document().element("notes").innerHTML(); }

// Whether `notes` differ from the last saved notes, ignoring surrounding spaces;
// empty notes never count as unsaved.
bool unsavedChanges(std::string_view notes, std::string_view savedNotes) {
  const std::string current = trimSpaces(notes);
  return !current.empty() && current != trimSpaces(savedNotes);
}

// The part after the last "\" or "/"; the whole path when it has neither.
std::string_view fileNameOf(std::string_view path) {
  const auto last = path.find_last_of("\\/");
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

}  // namespace

void NotesDocuments::showFileName(const Window& w) const {
  w.document().element("notesFile").setInnerHTML(fileNameOf(state_.NotesFilePath));
}

bool NotesDocuments::checkChanges(const Window& w) {
  return whenStarted([&] {
    if (!unsavedChanges(notesMarkup(w), state_.SavedNotes)) return true;
    const std::string address =
        getVal(w.document().body(), "tq_file").toText() + std::string(kChangesDialogPage);
    const Value reply = w.showModalDialog(address, std::string(), kChangesDialogFeatures);
    // A dialog closed without an answer may give null: that is a cancel too.
    const std::string answer = reply.isNull() ? std::string() : lowerCase(trimSpaces(reply.toText()));
    if (answer == "yes") {
      saveNotes(w);
      return true;
    }
    return answer == "no";
  });
}

void NotesDocuments::newNotes(const Window& w) {
  whenStarted([&] {
    if (!checkChanges(w)) return;
    const Element notes = w.document().element("notes");
    notes.setInnerHTML("");
    state_.NotesFilePath.clear();
    state_.SavedNotes = notes.innerHTML();
    showFileName(w);
  });
}

void NotesDocuments::openNotes(const Window& w) {
  whenStarted([&] {
    if (!checkChanges(w)) return;
    dialog_.setFileName(kAnyNotesFile);
    dialog_.setFilter(kOpenFilter);
    dialog_.showOpen();
    const std::string path = dialog_.fileName();
    const std::string page = readStoredPage(files_, path);
    if (!checkContent(w, page)) return;
    const Element notes = w.document().element("notes");
    notes.setInnerHTML(storedNotes(w, page));
    state_.NotesFilePath = path;
    state_.SavedNotes = notes.innerHTML();
    showFileName(w);
  });
}

void NotesDocuments::saveNotes(const Window& w) {
  whenStarted([&] {
    dialog_.setFileName(trimSpaces(state_.NotesFilePath).empty() ? std::string(kAnyNotesFile)
                                                                 : state_.NotesFilePath);
    dialog_.setFilter(kSaveFilter);
    dialog_.showSave();
    const std::string path = dialog_.fileName();
    // Composed before the file is touched, and written beside it first, so a
    // failure at any step leaves the old file whole. What counts as saved is
    // what went into the file: edits made while the write waits are not.
    const std::string notes = notesMarkup(w);
    writeStoredPage(files_, path, composeWith(w, notes));
    state_.NotesFilePath = path;
    state_.SavedNotes = notes;
    showFileName(w);
  });
}

bool NotesDocuments::checkUnsaved(const Window& w) {
  return whenStarted([&] {
    const Element notes(w.document().frame("tq_trans").document().all().item("notes"));
    if (lowerCase(notes.typeName()) != "nothing") state_.NotesBackup = notes.innerHTML();
    if (trimSpaces(state_.NotesBackup).empty() ||
        trimSpaces(state_.NotesBackup) == trimSpaces(state_.SavedNotes)) {
      timer_.setInterval(0);
      w.setProperty("tqStarted", false);
    } else {
      w.event().setReturnValue(std::string(kUnsavedWarning));
    }
    return false;
  });
}

}  // namespace reVoziz
