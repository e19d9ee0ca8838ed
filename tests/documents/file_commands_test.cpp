#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "documents/notes_documents.h"
#include "documents/notes_fixture.h"
#include "pagemodel/page_loader.h"

namespace reVoziz {
namespace {

using pagemodel::FileDialogShown;
using testing::failureOf;
using testing::FileStep;
using testing::NotesLesson;

constexpr std::string_view kSaveFilter = "reVoziz Files (*.notes)|*.notes";
constexpr std::string_view kOpenFilter =
    "reVoziz Files (*.notes)|*.notes|HTM Files (*.html)|*.html";
constexpr std::string_view kFeatures = "dialogHeight:115px;dialogWidth:290px;scroll:off;status:no;";

class FileCommands : public ::testing::Test {
 protected:
  NotesLesson lesson;
  tq& control = lesson.control;
  const ControlState& state = control.state();
  pagemodel::ScriptedFileDialog& dialog = lesson.fileDialog();
  pagemodel::WindowModel& notesWindow = lesson.notesModel();

  void saveAs(const std::string& path) {
    dialog.answers.push_back(path);
    control.saveNotes(lesson.notesWindow());
  }
  void open(const std::string& path) {
    dialog.answers.push_back(path);
    control.openNotes(lesson.notesWindow());
  }
  // A notes page as another program would store it.
  std::string storedPage(std::string_view title, std::string_view notes) {
    return "<html><body><h1><!--title-->" + std::string(title) + "<!--title--></h1><!--notes-->" +
           std::string(notes) + "<!--notes--></body></html>";
  }
};

// What a command may change, to show that a failed one changed nothing.
struct Snapshot {
  std::string notes, shownName, path, saved;
  bool operator==(const Snapshot&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const Snapshot& s) {
    return out << "notes '" << s.notes << "' shown '" << s.shownName << "' path '" << s.path
               << "' saved '" << s.saved << "'";
  }
};

Snapshot snapshot(const NotesLesson& lesson) {
  const ControlState& s = lesson.control.state();
  return {lesson.notes(), lesson.shownFileName(), s.NotesFilePath, s.SavedNotes};
}

TEST_F(FileCommands, SaveWritesTheStoredPageAndMakesItTheCurrentFile) {
  lesson.setNotes("<p>ñ € 日本</p>");
  const std::string path = lesson.folder.file("mine.notes");
  saveAs(path);
  EXPECT_EQ(lesson.folder.read("mine.notes"),
            "<html><head><title>Stored notes</title></head><body><h1><!--title-->A\xF1o \xD1"
            "and\xFA<!--title--></h1><div id=\"notes\"><!--notes--><p>\xF1 \x80 &#26085;&#26412;"
            "</p><!--notes--></div>\n</body></html>");
  EXPECT_EQ(state.NotesFilePath, path);
  EXPECT_EQ(state.SavedNotes, "<p>ñ € 日本</p>");
  EXPECT_EQ(lesson.shownFileName(), "mine.notes");
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{"mine.notes"});

  // A new document offers "*.notes"; once saved, the current path.
  saveAs(path);
  ASSERT_EQ(dialog.shown.size(), 2u);
  EXPECT_EQ(dialog.shown[0], (FileDialogShown{true, "*.notes", std::string(kSaveFilter)}));
  EXPECT_EQ(dialog.shown[1], (FileDialogShown{true, path, std::string(kSaveFilter)}));
}

TEST_F(FileCommands, NotesAndTitleOutsideTheCodePageRoundTrip) {
  // As a title, "&#26085;" is plain text that must not read back as a character.
  const std::string text = "ñ € 日本 😀 &#233; &#26085;";
  lesson.document()->put("title", text);
  lesson.setNotes("<p>" + text + "</p>");
  const std::string notes = lesson.notes();
  saveAs(lesson.folder.file("round.notes"));
  lesson.setNotes("");
  open(lesson.folder.file("round.notes"));
  EXPECT_EQ(lesson.notes(), notes);
  EXPECT_TRUE(notesWindow.confirmMessages.empty());  // the title read back equal
  EXPECT_EQ(control.pageExtract(control.composePage(lesson.notesWindow()), kTitleKey), text);
}

TEST_F(FileCommands, OpenReadsTheNotesAndShowsTheFileNameAfterEitherSeparator) {
  lesson.setNotes("  ");  // spaces only: nothing to save, no question
  const std::string path = lesson.folder.write(
      "dir\\old.notes", storedPage("a\xF1o \xD1" "and\xFA", "<i>caf\xE9 &#26085; &#233;</i>"));
  open(path);
  EXPECT_EQ(lesson.notes(), "<i>café 日 é</i>");
  EXPECT_EQ(state.NotesFilePath, path);
  EXPECT_EQ(state.SavedNotes, lesson.notes());
  EXPECT_EQ(lesson.shownFileName(), "old.notes");
  EXPECT_EQ(dialog.shown.front(), (FileDialogShown{false, "*.notes", std::string(kOpenFilter)}));
  EXPECT_TRUE(notesWindow.modalDialogRequests.empty());
  EXPECT_TRUE(notesWindow.confirmMessages.empty());
}

TEST_F(FileCommands, OpenCleansTheStoredNotesAndKeepsWhatIsHarmless) {
  lesson.setNotes("");
  const std::string harmless =
      "<p style=\"color: red\">Hola <b>mundo</b> <a href=\"http://example.com/\" target=\"_blank\" "
      "rel=\"noopener noreferrer\">enlace</a></p>"
      "<span class=\"tq_syncTag\" style=\"display: inline;\" contenteditable=\"false\">"
      "<span class=\"tq_sync\" role=\"button\" tabindex=\"0\">&gt;</span>"
      "<span class=\"tq_decrement\" role=\"button\" tabindex=\"0\">-</span>"
      "<input id=\"timeCode\" class=\"tq_syncValue\" value=\"00:01:30\" size=\"8\">"
      "<span class=\"tq_increment\" role=\"button\" tabindex=\"0\">+</span></span>";
  const std::string hostile =
      "<img src=\"x\" onerror=\"alert(1)\"><script>alert(2)</script><iframe src=\"x\"></iframe>"
      "<a href=\"javascript:alert(3)\">j</a><div id=\"notes\" name=\"notesFile\">d</div>"
      "<noscript><p title=\"</noscript><img src=x onerror=alert(4)>\"></p></noscript>"
      "<!--[if IE]><script>alert(5)</script><![endif]--><style>*{x:expression(alert(6))}</style>"
      "<p style=\"background: url(java\\73 cript:alert(7))\">s</p>"
      "<svg><animate attributeName=\"href\" values=\"0;javascript:alert(8)\"></animate></svg>"
      "<p class=\"x\">c</p><a href=\"https://example.com/\" target=\"notesTemplate\">t</a>";
  const std::string path =
      lesson.folder.write("shared.notes", storedPage("A\xF1o \xD1" "and\xFA", harmless + hostile));
  open(path);
  EXPECT_EQ(lesson.notes(),
            harmless + "x<a>j</a><div>d</div><p>s</p><p>c</p>"
                       "<a href=\"https://example.com/\" target=\"_blank\" rel=\"noopener noreferrer\">t</a>");
  EXPECT_EQ(state.SavedNotes, lesson.notes());
  EXPECT_TRUE(notesWindow.scriptErrors.empty());

  // What was cleaned saves and opens again unchanged.
  const std::string cleaned = lesson.notes();
  saveAs(lesson.folder.file("again.notes"));
  lesson.setNotes("");
  open(lesson.folder.file("again.notes"));
  EXPECT_EQ(lesson.notes(), cleaned);
}

TEST_F(FileCommands, WhatCountsAsSavedIsWhatWentIntoTheFile) {
  lesson.setNotes("<p>written</p>");
  // An edit that lands while the file is being put in place, as one may
  // while a browser waits on its write.
  lesson.files.beforeRename = [&] { lesson.setNotes("<p>written</p><p>typed meanwhile</p>"); };
  saveAs(lesson.folder.file("late.notes"));
  EXPECT_EQ(state.SavedNotes, "<p>written</p>");
  EXPECT_NE(lesson.folder.read("late.notes").find("<p>written</p><!--notes-->"), std::string::npos);
  lesson.files.beforeRename = nullptr;
  // The edit counts as unsaved: a new document asks first.
  notesWindow.modalDialogAnswers = {"cancel"};
  control.newNotes(lesson.notesWindow());
  EXPECT_EQ(notesWindow.modalDialogRequests.size(), 1u);
  EXPECT_EQ(lesson.notes(), "<p>written</p><p>typed meanwhile</p>");
}

TEST_F(FileCommands, AnHtmlFileWithoutKeysOpensAsEmptyNotesOnceTheUserAgrees) {
  lesson.setNotes("");
  notesWindow.confirmAnswers = {true};
  open(lesson.folder.write("page.html", "<html><body>hello</body></html>"));
  EXPECT_EQ(lesson.notes(), "");
  EXPECT_EQ(lesson.shownFileName(), "page.html");
  EXPECT_EQ(notesWindow.confirmMessages.size(), 1u);
}

TEST_F(FileCommands, AFailedOpenChangesNothing) {
  lesson.setNotes("mine");
  control.backupNotes(lesson.notesWindow());
  saveAs(lesson.folder.file("current.notes"));
  lesson.setNotes(" mine ");  // unchanged but for spaces: no question
  const Snapshot before = snapshot(lesson);
  const std::string title = "A\xF1o \xD1" "and\xFA";
  const std::string good = lesson.folder.write("good.notes", storedPage(title, "other"));
  const std::string once =
      lesson.folder.write("once.notes", "<!--title-->" + title + "<!--title--><!--notes-->x");

  struct Case {
    const char* what;
    std::optional<std::string> answer;
    std::optional<FileStep> fault;
    std::deque<bool> confirmAnswers;
    ErrorCode code;  // HostError stands for "no error"
  };
  const std::vector<Case> cases = {
      {"cancelled dialog", std::nullopt, {}, {}, ErrorCode::DialogCancelled},
      {"missing file", lesson.folder.file("missing.notes"), {}, {}, ErrorCode::FileNotFound},
      {"open fails", good, FileStep::Open, {}, ErrorCode::PermissionDenied},
      {"read fails", good, FileStep::Read, {}, ErrorCode::PermissionDenied},
      {"notes key once", once, {}, {}, ErrorCode::InvalidArgument},
      {"title declined", lesson.folder.write("t.notes", storedPage("Other", "x")), {}, {false},
       ErrorCode::HostError},
  };
  for (const Case& c : cases) {
    dialog.answers.push_back(c.answer);
    if (c.fault) lesson.files.failNext(*c.fault);
    notesWindow.confirmAnswers = c.confirmAnswers;
    if (c.code == ErrorCode::HostError) {
      control.openNotes(lesson.notesWindow());
    } else {
      EXPECT_EQ(failureOf([&] { control.openNotes(lesson.notesWindow()); }), c.code) << c.what;
    }
    EXPECT_EQ(snapshot(lesson), before) << c.what;
    EXPECT_TRUE(notesWindow.confirmAnswers.empty()) << c.what;
  }
  EXPECT_EQ(state.NotesBackup, "mine");
}

// Each step of a save that can fail, and the page that cannot be composed.
class FailedSave : public FileCommands, public ::testing::WithParamInterface<FileStep> {};

TEST_P(FailedSave, LeavesTheOldFileByteForByteAndTheStateUnchanged) {
  const std::string oldBytes = "old \xF1 bytes";
  const std::string path = lesson.folder.write("keep.notes", oldBytes);
  lesson.setNotes("first");
  saveAs(path);
  const std::string saved = lesson.folder.read("keep.notes");
  lesson.setNotes("second");
  const Snapshot before = snapshot(lesson);

  lesson.files.failNext(GetParam());
  dialog.answers.push_back(path);
  EXPECT_NE(failureOf([&] { control.saveNotes(lesson.notesWindow()); }), ErrorCode{});
  EXPECT_TRUE(lesson.files.faultFired());
  EXPECT_EQ(lesson.folder.read("keep.notes"), saved);
  EXPECT_EQ(snapshot(lesson), before);
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{"keep.notes"});
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedSave,
                         ::testing::Values(FileStep::Create, FileStep::Write, FileStep::ShortWrite,
                                           FileStep::Flush, FileStep::Close, FileStep::Rename),
                         [](const auto& step) { return testing::fileStepName(step.param); });

ino_t inodeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_ino;
}

TEST_F(FileCommands, AFileTheUserMayNotWriteIsRefusedAndLeftAlone) {
  const std::string path = lesson.folder.write("theirs.notes", "old");
  lesson.setNotes("new");
  const Snapshot before = snapshot(lesson);
  const std::vector<std::pair<const char*, std::function<void(FileStanding&)>>> cases = {
      {"read-only", [](FileStanding& s) { s.readOnly = true; }},
      {"another owner's", [](FileStanding& s) { s.writable = false; }},
      {"a pipe", [](FileStanding& s) { s.regular = false; }},
  };
  for (const auto& [what, standing] : cases) {
    lesson.files.adjustStanding = standing;
    dialog.answers.push_back(path);
    try {
      control.saveNotes(lesson.notesWindow());
      ADD_FAILURE() << what << " saved";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::PermissionDenied) << what;
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << what << ": " << e.what();
    }
    EXPECT_EQ(lesson.folder.read("theirs.notes"), "old") << what;
    EXPECT_EQ(snapshot(lesson), before) << what;
    EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{"theirs.notes"}) << what;
  }
}

struct InPlaceFault {
  FileStep step;
  int passing;  // runs of the step that succeed first
  const char* name;
};

// A file that a rename would strip is written where it stands: after any
// failure the same file holds its old content, and no copy is left.
class FailedInPlaceSave : public FileCommands, public ::testing::WithParamInterface<InPlaceFault> {};

TEST_P(FailedInPlaceSave, PutsTheOldContentBackAndChangesNoState) {
  const std::string oldBytes = "old \xF1 bytes";
  const std::string path = lesson.folder.write("keep.notes", oldBytes);
  const ino_t inode = inodeOf(path);
  lesson.setNotes("second");
  const Snapshot before = snapshot(lesson);

  lesson.files.adjustStanding = [](FileStanding& s) { s.renameLoses = {"hard links"}; };
  lesson.files.failNext(GetParam().step, GetParam().passing);
  dialog.answers.push_back(path);
  EXPECT_NE(failureOf([&] { control.saveNotes(lesson.notesWindow()); }), ErrorCode{});
  EXPECT_TRUE(lesson.files.faultFired());
  EXPECT_EQ(lesson.folder.read("keep.notes"), oldBytes);
  EXPECT_EQ(inodeOf(path), inode);
  EXPECT_EQ(snapshot(lesson), before);
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{"keep.notes"});
}

// The old content is read, copied (create, write, flush, close), the file
// written over (overwrite, write, flush, close) and read back.
INSTANTIATE_TEST_SUITE_P(Steps, FailedInPlaceSave,
                         ::testing::Values(InPlaceFault{FileStep::Read, 0, "ReadOld"},
                                           InPlaceFault{FileStep::Write, 0, "WriteCopy"},
                                           InPlaceFault{FileStep::Overwrite, 0, "Overwrite"},
                                           InPlaceFault{FileStep::Write, 1, "Write"},
                                           InPlaceFault{FileStep::ShortWrite, 1, "ShortWrite"},
                                           InPlaceFault{FileStep::Flush, 1, "Flush"},
                                           InPlaceFault{FileStep::Close, 1, "Close"},
                                           InPlaceFault{FileStep::Read, 1, "ReadBack"}),
                         [](const auto& fault) { return std::string(fault.param.name); });

TEST_F(FileCommands, ASaveThatCannotComposeOrIsCancelledLeavesTheOldFile) {
  const std::string path = lesson.folder.write("keep.notes", "old");
  lesson.setNotes("new");
  dialog.answers.push_back(std::nullopt);
  EXPECT_EQ(failureOf([&] { control.saveNotes(lesson.notesWindow()); }),
            ErrorCode::DialogCancelled);
  lesson.window("tq_trans")->document()->frames().clear();  // no template
  dialog.answers.push_back(path);
  EXPECT_EQ(failureOf([&] { control.saveNotes(lesson.notesWindow()); }), ErrorCode::MemberNotFound);
  EXPECT_EQ(lesson.folder.read("keep.notes"), "old");
  EXPECT_EQ(state.NotesFilePath, "");
  EXPECT_EQ(lesson.shownFileName(), "start.notes");
  // Nothing under the name a cancelled dialog leaves behind either.
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{"keep.notes"});
}

TEST_F(FileCommands, CheckChangesAsksOnlyAboutRealChanges) {
  lesson.setNotes("kept");
  saveAs(lesson.folder.file("a.notes"));
  // Emptied notes never ask, even though a file was loaded.
  for (const char* notes : {"", "   ", "  kept "}) {
    lesson.setNotes(notes);
    EXPECT_TRUE(control.checkChanges(lesson.notesWindow()));
  }
  EXPECT_TRUE(notesWindow.modalDialogRequests.empty());

  lesson.setNotes("changed");
  notesWindow.modalDialogAnswers = {" No ", "", "maybe", Value(), Value(Null{})};
  EXPECT_TRUE(control.checkChanges(lesson.notesWindow()));
  for (int i = 0; i < 4; ++i) EXPECT_FALSE(control.checkChanges(lesson.notesWindow()));
  ASSERT_EQ(notesWindow.modalDialogRequests.size(), 5u);
  const auto& request = notesWindow.modalDialogRequests.front();
  EXPECT_EQ(request.url, "dialogs/checkchanges.html");
  EXPECT_EQ(request.arguments, Value(""));
  EXPECT_EQ(request.features, kFeatures);
  EXPECT_EQ(lesson.notes(), "changed");
  EXPECT_EQ(dialog.shown.size(), 1u);  // none of these answers saved

  // Without tq_file the page sits beside the notes page.
  lesson.document("tq_trans")->body()->removeAttribute("tq_file");
  notesWindow.modalDialogAnswers = {"no"};
  control.checkChanges(lesson.notesWindow());
  EXPECT_EQ(notesWindow.modalDialogRequests.back().url, "checkchanges.html");
}

TEST_F(FileCommands, YesSavesFirstAndACancelledSaveStopsTheCommand) {
  lesson.setNotes("draft");
  notesWindow.modalDialogAnswers = {" YES ", "yes"};
  dialog.answers = {lesson.folder.file("draft.notes")};
  control.newNotes(lesson.notesWindow());
  EXPECT_EQ(lesson.notes(), "");
  EXPECT_NE(lesson.folder.read("draft.notes").find("<!--notes-->draft<!--notes-->"),
            std::string::npos);
  EXPECT_EQ(state.NotesFilePath, "");
  EXPECT_EQ(state.SavedNotes, "");

  // The save behind "yes" is cancelled: the notes are not discarded.
  lesson.setNotes("second draft");
  dialog.answers = {std::nullopt};
  EXPECT_EQ(failureOf([&] { control.newNotes(lesson.notesWindow()); }),
            ErrorCode::DialogCancelled);
  EXPECT_EQ(lesson.notes(), "second draft");
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{"draft.notes"});
}

TEST_F(FileCommands, NewNotesEmptiesEverythingUnlessTheUserCancels) {
  lesson.setNotes("kept");
  saveAs(lesson.folder.file("a.notes"));
  lesson.setNotes("edited");
  notesWindow.modalDialogAnswers = {"cancel", "no"};
  control.newNotes(lesson.notesWindow());
  EXPECT_EQ(lesson.notes(), "edited");
  control.newNotes(lesson.notesWindow());
  EXPECT_EQ(snapshot(lesson), (Snapshot{"", "", "", ""}));
}

class CheckUnsaved : public FileCommands {
 protected:
  // Runs checkUnsaved as the lesson page's before-unload handler.
  testing::Dispatched leave() {
    return lesson.dispatch("", lesson.top->document()->body(),
                           [&](const Window& w) { EXPECT_FALSE(control.checkUnsaved(w)); },
                           {.type = "beforeunload"});
  }
  bool stopped() const {
    return control.timer().interval() == 0 && lesson.top->get("tqStarted") == Value(false);
  }
};

TEST_F(CheckUnsaved, WarnsAboutUnsavedNotesOnTheNotesPage) {
  lesson.setNotes("unsaved");
  const auto left = leave();
  EXPECT_FALSE(left.failure);
  EXPECT_EQ(left.event->returnValue(),
            Value("Sus notas tienen cambios que no han sido salvados en un archivo.\rSi no desea "
                  "perderlos, presione [Cancel] y proceda a salvar sus notas."));
  EXPECT_EQ(state.NotesBackup, "unsaved");
  EXPECT_EQ(control.timer().interval(), 500);
  EXPECT_EQ(lesson.top->get("tqStarted"), Value(true));
}

TEST_F(CheckUnsaved, StopsTheControlWhenNothingIsUnsaved) {
  lesson.setNotes("kept");
  saveAs(lesson.folder.file("a.notes"));
  lesson.setNotes(" kept  ");
  const auto left = leave();
  EXPECT_TRUE(left.event->returnValue().isEmpty());
  EXPECT_TRUE(stopped());
}

TEST_F(CheckUnsaved, ASaveFromATemplateFrameThatShowsAnotherPageFailsAndStillWarns) {
  lesson.setNotes("kept");
  const std::string path = lesson.folder.file("kept.notes");
  saveAs(path);
  const std::string saved = lesson.folder.read("kept.notes");
  lesson.setNotes("unsaved");
  const Snapshot before = snapshot(lesson);
  pagemodel::WindowModel& frame = *notesWindow.frame("notesTemplate");

  // What a link with target="notesTemplate" leaves in the frame.
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"another page", [&] { pagemodel::navigate(frame, "index.html"); }},
      {"another page with notes", [&] { pagemodel::navigate(frame, "other_program.notes"); }},
      {"the template without its slot", [&] {
         pagemodel::navigate(frame, "template.html");
         lesson.setTemplateBody("<p>no notes here</p>");
       }},
  };
  for (const auto& [what, load] : cases) {
    load();
    dialog.answers.push_back(path);
    EXPECT_EQ(failureOf([&] { control.saveNotes(lesson.notesWindow()); }), ErrorCode::InvalidArgument) << what;
    EXPECT_EQ(lesson.folder.read("kept.notes"), saved) << what;
    EXPECT_EQ(snapshot(lesson), before) << what;
    EXPECT_FALSE(leave().event->returnValue().isEmpty()) << what;
  }

  pagemodel::navigate(frame, "template.html");
  saveAs(path);
  EXPECT_NE(lesson.folder.read("kept.notes").find("<!--notes-->unsaved<!--notes-->"), std::string::npos);
}

TEST_F(CheckUnsaved, UsesTheLastCopyWhileTheNotesPageIsAway) {
  lesson.setNotes("copied");
  control.backupNotes(lesson.notesWindow());
  lesson.documentRef("tq_trans").setURL("../spine_tick/trans.html");
  EXPECT_FALSE(leave().event->returnValue().isEmpty());
  EXPECT_EQ(state.NotesBackup, "copied");

  lesson.start();  // empties the copy
  EXPECT_TRUE(leave().event->returnValue().isEmpty());
  EXPECT_TRUE(stopped());
}

TEST(NotesGate, BeforeStartNoDocumentMethodTouchesAnything) {
  testing::onFreshThread([] {
    testing::LessonControl lesson("notes_lesson");
    tq& c = lesson.control;
    const Window w = lesson.windowRef("tq_trans");
    lesson.element("tq_trans", "notes").setInnerHTML("n");
    const std::uint64_t writes = lesson.document("tq_trans")->writes();
    EXPECT_EQ(c.composePage(w), "");
    EXPECT_EQ(c.pageExtract("<!--notes-->x", "<!--notes-->"), "");
    EXPECT_FALSE(c.checkContent(w, "no title"));
    EXPECT_FALSE(c.checkChanges(w));
    c.newNotes(w);
    c.openNotes(w);
    c.saveNotes(w);
    EXPECT_FALSE(c.backupNotes(w));
    c.restoreNotes(w);
    c.backupNotes1(w);
    c.restoreNotes1(w);
    EXPECT_FALSE(c.checkUnsaved(lesson.windowRef()));
    EXPECT_EQ(lesson.document("tq_trans")->writes(), writes);
    EXPECT_TRUE(lesson.platform.dialogs().front()->shown.empty());
    EXPECT_TRUE(lesson.window("tq_trans")->confirmMessages.empty());
    EXPECT_TRUE(lesson.files.namesHandedOut.empty());
    EXPECT_EQ(c.state().NotesBackup, "");
  });
}

}  // namespace
}  // namespace reVoziz
