#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "documents/notes_documents.h"
#include "documents/notes_fixture.h"

namespace reVoziz {
namespace {

using testing::failureOf;
using testing::FileStep;
using testing::NotesLesson;

class Backup : public ::testing::Test {
 protected:
  NotesLesson lesson;
  tq& control = lesson.control;
  const ControlState& state = control.state();
  Window w = lesson.notesWindow();
};

TEST_F(Backup, RestoreNotesPutsTheCopyBackUnlessItIsEmpty) {
  lesson.setNotes("");
  control.backupNotes(w);
  lesson.setNotes("current");
  control.restoreNotes(w);
  EXPECT_EQ(lesson.notes(), "current");
  EXPECT_EQ(lesson.shownFileName(), "start.notes");  // not even the name display

  lesson.setNotes("  ");
  EXPECT_FALSE(control.backupNotes(w));
  lesson.setNotes("current");
  control.restoreNotes(w);
  EXPECT_EQ(lesson.notes(), "  ");
  EXPECT_EQ(lesson.shownFileName(), "");  // no file yet

  lesson.setNotes("<b>copy</b>");
  control.backupNotes(w);
  lesson.fileDialog().answers = {lesson.folder.file("x\\name.notes")};
  control.saveNotes(w);
  lesson.setNotes("other");
  control.restoreNotes(w);
  control.restoreNotes(w);  // the copy stays for a second restore
  EXPECT_EQ(lesson.notes(), "<b>copy</b>");
  EXPECT_EQ(lesson.shownFileName(), "name.notes");
  EXPECT_EQ(state.SavedNotes, "<b>copy</b>");
  EXPECT_EQ(state.NotesBackup, "<b>copy</b>");
}

TEST_F(Backup, TheTemporaryBackupKeepsOneOwnerOnlyFileAndRestoresTheLatest) {
  control.restoreNotes1(w);  // before any backup: nothing
  EXPECT_TRUE(lesson.files.namesHandedOut.empty());

  lesson.setNotes("first 日本");
  control.backupNotes1(w);
  ASSERT_EQ(lesson.folder.names().size(), 1u);
  const std::string name = lesson.folder.names().front();
  EXPECT_EQ(state.BackupFileName, name);
  EXPECT_NE(lesson.folder.read(name).find("<!--notes-->first &#26085;&#26412;<!--notes-->"),
            std::string::npos);

  // Comments, the notes key among them, are cleaned out on the way back in.
  const std::string notes = "second <b title=\"&lt;b&gt;\">two</b> 😀";
  lesson.setNotes("second <!--notes--><!--notes--><b title=\"<b>\">two</b> 😀");
  control.backupNotes1(w);
  lesson.setNotes("gone");
  control.restoreNotes1(w);
  EXPECT_EQ(lesson.notes(), notes);
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{name});
  EXPECT_EQ(state.BackupFileName, name);
  EXPECT_EQ(state.SavedNotes, "");
  EXPECT_EQ(lesson.shownFileName(), "start.notes");

  struct stat info {};
  ASSERT_EQ(::stat(lesson.folder.file(name).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(Backup, TheFirstBackupPassesAPlantedLinkByAndGivesUpAFailedClaim) {
  const std::string target = lesson.folder.file("target");
  std::filesystem::create_symlink(target, lesson.folder.file("radAAAAA.tmp"));
  lesson.files.scriptedNames = {"radAAAAA.tmp", "radBBBBB.tmp", "radCCCCC.tmp"};
  lesson.setNotes("secret");
  lesson.files.failNext(FileStep::Rename);
  EXPECT_EQ(failureOf([&] { control.backupNotes1(w); }), ErrorCode::PermissionDenied);
  EXPECT_EQ(state.BackupFileName, "");
  // The claimed name went with the failure; the planted link is untouched.
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{"radAAAAA.tmp"});

  lesson.files.scriptedNames = {"radAAAAA.tmp", "radDDDDD.tmp"};
  control.backupNotes1(w);
  EXPECT_EQ(state.BackupFileName, "radDDDDD.tmp");
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_TRUE(std::filesystem::is_symlink(lesson.folder.file("radAAAAA.tmp")));
}

TEST_F(Backup, ABackupThatIsNoLongerOursIsRefusedOnceAndTheNextTakesAFreshName) {
  const std::string planted = "<!--notes--><img src=x onerror=alert(1)>planted<!--notes-->";
  const std::string elsewhere = lesson.folder.write("elsewhere", planted);
  ::chmod(elsewhere.c_str(), 0600);
  struct Case {
    const char* what;
    std::function<void(const std::string&)> plant;
  };
  const std::vector<Case> cases = {
      {"a file others may write", [&](const std::string& path) {
         lesson.folder.write(std::filesystem::path(path).filename().string(), planted);
         ::chmod(path.c_str(), 0666);
       }},
      {"a link to an owner-only file",
       [&](const std::string& path) { std::filesystem::create_symlink(elsewhere, path); }},
  };
  for (const Case& c : cases) {
    lesson.setNotes("mine");
    control.backupNotes1(w);
    const std::string name = state.BackupFileName;
    const std::string path = lesson.folder.file(name);
    std::filesystem::remove(path);
    c.plant(path);

    lesson.setNotes("current");
    EXPECT_EQ(failureOf([&] { control.restoreNotes1(w); }), ErrorCode::PermissionDenied) << c.what;
    EXPECT_EQ(failureOf([&] { control.backupNotes1(w); }), ErrorCode::PermissionDenied) << c.what;
    EXPECT_EQ(lesson.folder.read(name), planted) << c.what;
    EXPECT_EQ(lesson.folder.read("elsewhere"), planted) << c.what;
    EXPECT_EQ(lesson.notes(), "current") << c.what;

    control.backupNotes1(w);
    EXPECT_NE(state.BackupFileName, name) << c.what;
    lesson.setNotes("gone");
    control.restoreNotes1(w);
    EXPECT_EQ(lesson.notes(), "current") << c.what;
    EXPECT_EQ(lesson.folder.read(name), planted) << c.what;
    std::filesystem::remove(path);
    std::filesystem::remove(lesson.folder.file(state.BackupFileName));
  }
}

TEST_F(Backup, ABackupCleanedAwayIsWrittenUnderAFreshName) {
  lesson.setNotes("first");
  control.backupNotes1(w);
  const std::string name = state.BackupFileName;
  std::filesystem::remove(lesson.folder.file(name));
  lesson.setNotes("second");
  control.backupNotes1(w);
  EXPECT_NE(state.BackupFileName, name);
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{state.BackupFileName});
  lesson.setNotes("gone");
  control.restoreNotes1(w);
  EXPECT_EQ(lesson.notes(), "second");
}

class FailedBackup : public Backup, public ::testing::WithParamInterface<FileStep> {};

TEST_P(FailedBackup, LeavesTheOldBackupByteForByteAndTheStateUnchanged) {
  lesson.setNotes("first");
  control.backupNotes1(w);
  const std::string name = state.BackupFileName;
  const std::string old = lesson.folder.read(name);
  lesson.setNotes("second");

  lesson.files.failNext(GetParam());
  EXPECT_NE(failureOf([&] { control.backupNotes1(w); }), ErrorCode{});
  EXPECT_TRUE(lesson.files.faultFired());
  EXPECT_EQ(lesson.folder.read(name), old);
  EXPECT_EQ(state.BackupFileName, name);
  EXPECT_EQ(lesson.folder.names(), std::vector<std::string>{name});
  control.restoreNotes1(w);
  EXPECT_EQ(lesson.notes(), "first");
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedBackup,
                         ::testing::Values(FileStep::Create, FileStep::Write, FileStep::ShortWrite,
                                           FileStep::Flush, FileStep::Close, FileStep::Rename),
                         [](const auto& step) { return testing::fileStepName(step.param); });

TEST_F(Backup, AFailedFirstBackupKeepsNoName) {
  lesson.window("tq_trans")->document()->frames().clear();  // nothing to compose
  EXPECT_EQ(failureOf([&] { control.backupNotes1(w); }), ErrorCode::MemberNotFound);
  EXPECT_EQ(state.BackupFileName, "");
  EXPECT_TRUE(lesson.folder.names().empty());
}

TEST_F(Backup, RestoreFromAnUnreadableOrMalformedBackupChangesNothing) {
  lesson.setNotes("kept");
  control.backupNotes1(w);
  const std::string name = state.BackupFileName;

  // Written in place, the file stays ours and owner-only.
  lesson.folder.write(name, "<!--notes-->only once");
  EXPECT_EQ(failureOf([&] { control.restoreNotes1(w); }), ErrorCode::InvalidArgument);
  lesson.files.failNext(FileStep::Read);
  EXPECT_EQ(failureOf([&] { control.restoreNotes1(w); }), ErrorCode::PermissionDenied);
  std::filesystem::remove(lesson.folder.file(name));
  EXPECT_EQ(failureOf([&] { control.restoreNotes1(w); }), ErrorCode::FileNotFound);
  EXPECT_EQ(lesson.notes(), "kept");

  lesson.folder.write(name, "no key");
  ::chmod(lesson.folder.file(name).c_str(), 0600);
  control.restoreNotes1(w);
  EXPECT_EQ(lesson.notes(), "");
}

}  // namespace
}  // namespace reVoziz
