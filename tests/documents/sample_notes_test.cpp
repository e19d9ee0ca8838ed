#include <gtest/gtest.h>

#include <filesystem>

#include "documents/notes_documents.h"
#include "support/lesson.h"
#include "support/scratch_folder.h"

namespace reVoziz {
namespace {

using testing::LessonControl;

// The sample lesson's notes page, reached through the transcript's language menu.
TEST(SampleNotes, TheLanguageMenuOpensAWorkingNotesPage) {
  LessonControl lesson(REVOZIZ_SAMPLE_LESSON);
  testing::ScratchFolder folder;
  lesson.files.temporaryFolderOverride = folder.path().string();
  lesson.start();
  pagemodel::NodePtr option;
  lesson.node("", "tq_selOps1")->forEachDescendantElement([&](const pagemodel::NodePtr& e) {
    if (Element(std::shared_ptr<Object>(e)).innerText() == "Notas") option = e;
    return !option;
  });
  ASSERT_TRUE(option);
  lesson.control.switchText(lesson.documentRef(), Element(std::shared_ptr<Object>(option)));
  ASSERT_EQ(lesson.document("tq_trans")->address(), "notes.html");

  const Window w = lesson.windowRef("tq_trans");
  lesson.element("tq_trans", "notes").setInnerHTML("<p>Apertura: f/2,8 😀</p>");
  const std::string page = lesson.control.composePage(w);
  EXPECT_EQ(lesson.control.pageExtract(page, kNotesKey), "<p>Apertura: f/2,8 😀</p>");
  EXPECT_EQ(lesson.control.pageExtract(page, kTitleKey), "Introducción a la fotografía digital");
  lesson.control.backupNotes1(w);
  lesson.control.restoreNotes1(w);
  EXPECT_EQ(lesson.element("tq_trans", "notes").innerHTML(), "<p>Apertura: f/2,8 😀</p>");

  // The edit bar's file buttons and the save-changes dialog page are there.
  for (const char* id : {"newnotes", "opennotes", "save", "notesFile"}) lesson.node("tq_trans", id);
  lesson.window("tq_trans")->modalDialogAnswers = {"no"};
  lesson.control.newNotes(w);
  const auto& request = lesson.window("tq_trans")->modalDialogRequests.at(0);
  EXPECT_TRUE(std::filesystem::is_regular_file(
      lesson.document("tq_trans")->file().parent_path() / request.url));
  EXPECT_EQ(lesson.element("tq_trans", "notes").innerHTML(), "");
}

}  // namespace
}  // namespace reVoziz
