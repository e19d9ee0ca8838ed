#include "lessonmaking/lesson_check.h"

#include <gtest/gtest.h>

#include "lessonmaking/system_lesson_files.h"
#include "pagemodel/posix_file_system.h"

namespace reVoziz::lessonmaking {
namespace {

const std::filesystem::path kLessons = REVOZIZ_TEST_LESSONS;

std::vector<Problem> check(const std::filesystem::path& lesson) {
  pagemodel::PosixFileSystem host;
  SystemLessonFiles files(host);
  return checkLesson(files, lesson);
}

// "page:line: message" for each problem, the page's name without its folder.
std::vector<std::string> problemsOf(const std::filesystem::path& lesson) {
  std::vector<std::string> lines;
  for (const Problem& p : check(lesson)) {
    lines.push_back(std::filesystem::path(p.file).filename().string() + ':' +
                    std::to_string(p.line) + ": " + p.message);
  }
  return lines;
}

TEST(LessonCheck, TheSampleLessonPasses) {
  EXPECT_EQ(problemsOf(REVOZIZ_SAMPLE_LESSON), std::vector<std::string>{});
}

TEST(LessonCheck, EachBreakOfTheContractGetsItsMessageWithFileAndLine) {
  EXPECT_EQ(problemsOf(kLessons / "check_broken"), (std::vector<std::string>{
      "index.html:5: the image scroll_on.gif (tq_src_on) does not exist",
      "index.html:6: the video missing.webm does not exist",
      "index.html:6: the captions track captions_en.vtt does not exist",
      "index.html:6: the captions track notes.html is not a WebVTT file",
      "index.html:6: a captions track without src",
      "index.html:8: the menu's tq_selOps names \"noSuchList\", which no element of the page has as id",
      "index.html:11: tq_href names trans_fr.html, which does not exist",
      "toc.html:3: the list container has no tq_nonCurrent attribute",
      "toc.html:5: duplicate id \"c1\" (first on line 4)",
      "trans.html:2: the body has no tq_maxWidth, which the full layout reads from every page the transcript frame shows",
      "trans.html:5: a segment without tq_start",
      "trans.html:6: the segment's tq_start \"half past\" is not a time code",
      "trans.html:7: the segment's tq_start 00:00:05 goes back before the segment on line 4",
      "notes.html:2: the body has no tq_maxWidth, which the full layout reads from every page the transcript frame shows",
      "notes.html:2: the save-changes page ./checkchanges.html does not exist",
      "notes.html:6: the sync-tag template's class must be \"tq_syncTag\"",
      "notes.html:6: the sync-tag template has no \"tq_decrement\" button beside its time field",
      "notes.html:7: the notes template notes_template.html lacks the empty <!--notes--> or <!--title--> slot",
      // Played through: the segment without a start fails every tick from
      // second 10 on, the list without tq_nonCurrent once its segment moves.
      "index.html:1: the tick at 00:00:10 fails: error 438 Object doesn't support this property or method: tq_start (40 ticks)",
      "index.html:1: the tick at 00:00:30 fails: error 438 Object doesn't support this property or method: tq_nonCurrent (12 ticks)",
  }));
}

TEST(LessonCheck, BrokenTestLessonsGetTheMessagesTheyDeserve) {
  EXPECT_EQ(problemsOf(kLessons / "model_missing_frame"), (std::vector<std::string>{
      "index.html:7: the frame \"tq_trans\" shows no_such_transcript.html, which does not exist",
  }));
  const auto noToc = problemsOf(kLessons / "tool_no_toc");
  ASSERT_FALSE(noToc.empty());
  EXPECT_EQ(noToc.front(), "index.html:2: no frame named \"tq_toc\"");
  // Without the table of contents every tick fails at its first step.
  EXPECT_EQ(noToc.back(), "index.html:1: the tick at 00:00:00 fails: error 438 Object doesn't support "
                          "this property or method: tq_toc (70 ticks)");
  const auto notes = problemsOf(kLessons / "notes_lesson");
  EXPECT_NE(std::find(notes.begin(), notes.end(),
                      "notes.html:4: the save-changes page dialogs/checkchanges.html does not exist"),
            notes.end());
}

TEST(LessonCheck, AFolderWithoutALessonPage) {
  const auto problems = check(kLessons / "no_such_lesson");
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_EQ(problems[0].message, "the lesson page cannot be read");
}

}  // namespace
}  // namespace reVoziz::lessonmaking
