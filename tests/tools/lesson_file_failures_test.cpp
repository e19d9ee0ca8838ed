// What `revoziz lesson` reports when a file cannot be reached, read or
// written, and what such a failure leaves of an old lesson.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>

#include "lesson_run.h"
#include "lessonmaking/system_lesson_files.h"
#include "pagemodel/posix_file_system.h"
#include "support/faulty_lesson_files.h"
#include "support/file_bytes.h"

namespace reVoziz::tools {
namespace {

namespace fs = std::filesystem;
using testing::FaultyLessonFiles;
using testing::LessonStep;
using testing::ScratchFolder;

struct Expected {
  std::vector<std::string> args;
  std::string err;
};

struct ErrorCase {
  const char* name;
  // Sets up the scratch folder; the arguments and the one line of error.
  std::function<Expected(const ScratchFolder&)> arrange;
};

std::string loopAt(const ScratchFolder& scratch) {
  fs::create_symlink("loop", scratch.path() / "loop");
  return scratch.file("loop");
}

std::vector<std::string> publishArguments(const ScratchFolder& scratch, const std::string& out) {
  EXPECT_EQ(makeLesson(scratch).status, 0);
  return {"publish", scratch.file("lesson"), out, "--module", makeModule(scratch).string()};
}

TEST(LessonFileFailures, EachGivesOneErrorLineNamingTheFile) {
  const std::string longName(300, 'a');
  const std::string english = "en=" + (kCaptions / "lesson_en.vtt").string();
  const ErrorCase cases[] = {
      {"an image name too long for the system, in check",
       [&](const ScratchFolder& s) {
         fs::create_directory(s.path() / "lesson");
         s.write("lesson/index.html", "<html><body><img src=\"" + longName + ".gif\"></body></html>");
         const std::string image = s.file("lesson/" + longName + ".gif");
         return Expected{{"check", s.file("lesson")}, "error 76 " + image + ": cannot reach it: File name too long\n"};
       }},
      {"a video behind a link loop, in new",
       [&](const ScratchFolder& s) {
         const std::string video = loopAt(s) + "/x.webm";
         return Expected{{"new", s.file("out"), "--video", video, "--captions", english},
                         "error 70 " + video + ": cannot reach it: Too many levels of symbolic links\n"};
       }},
      {"captions that are a folder, in new",
       [&](const ScratchFolder& s) {
         fs::create_directory(s.path() / "en.vtt");
         return Expected{{"new", s.file("out"), "--video", writeVideo(s, "v.webm"), "--captions", "en=" + s.file("en.vtt")},
                         "error 70 " + s.file("en.vtt") + ": cannot read the file: Permission denied: " +
                             s.file("en.vtt") + "\n"};
       }},
      {"a missing captions file, in cues",
       [&](const ScratchFolder& s) {
         return Expected{{"cues", s.file("none.vtt")},
                         "error 53 " + s.file("none.vtt") + ": cannot read the file: File not found: " +
                             s.file("none.vtt") + "\n"};
       }},
      {"publishing under a regular file",
       [&](const ScratchFolder& s) {
         const std::string out = s.write("file", "x") + "/site";
         return Expected{publishArguments(s, out), "error 76 " + out + ": cannot make the folder: Not a directory\n"};
       }},
      {"publishing behind a link loop",
       [&](const ScratchFolder& s) {
         const std::string out = loopAt(s) + "/site";
         return Expected{publishArguments(s, out),
                         "error 70 " + out + ": cannot reach it: Too many levels of symbolic links\n"};
       }},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFolder scratch;
    const Expected expected = c.arrange(scratch);
    const LessonRun run = lesson(expected.args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, expected.err);
  }
}

TEST(LessonFileFailures, PublishingUnderAReadOnlyFolderNamesTheFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  ScratchFolder scratch;
  fs::create_directory(scratch.path() / "shut");
  const std::string out = scratch.file("shut/site");
  const std::vector<std::string> args = publishArguments(scratch, out);
  fs::permissions(scratch.path() / "shut", fs::perms::owner_read | fs::perms::owner_exec);
  const LessonRun run = lesson(args);
  fs::permissions(scratch.path() / "shut", fs::perms::owner_all);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "error 70 " + out + ": cannot make the folder: Permission denied\n");
}

// Every file below `folder`, links followed, by its path within, with its bytes.
std::map<std::string, std::string> contentsOf(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().lexically_relative(folder).string()] = testing::fileBytes(entry.path());
  }
  return files;
}

// Each file, or link, of `files` becomes a file that says "old".
void makeOld(const fs::path& folder, const std::map<std::string, std::string>& files) {
  for (const auto& [name, bytes] : files) {
    fs::remove(folder / name);
    std::ofstream(folder / name, std::ios::binary) << "old";
  }
}

// After a failure, each file of the folder is either the old one or the whole
// new one, and no other file lies there.
void expectOldOrNew(const fs::path& folder, const std::map<std::string, std::string>& made) {
  const auto now = contentsOf(folder);
  ASSERT_EQ(now.size(), made.size());
  for (const auto& [name, bytes] : made) {
    const auto it = now.find(name);
    ASSERT_NE(it, now.end()) << name;
    EXPECT_TRUE(it->second == "old" || it->second == bytes) << name;
  }
}

struct Rewrite {
  const char* name;
  // Sets up the scratch folder and gives the arguments of a run that writes
  // into an existing folder, and that folder.
  std::function<std::pair<std::vector<std::string>, fs::path>(const ScratchFolder&)> arrange;
  std::vector<LessonStep> steps;  // among the steps of that run
};

const Rewrite kRewrites[] = {
    {"new",
     [](const ScratchFolder& s) { return std::pair{newLessonArguments(s, {"--force"}), s.path() / "lesson"}; },
     {LessonStep::Read, LessonStep::Kind, LessonStep::Resolve, LessonStep::MakeFolders, LessonStep::Write,
      LessonStep::Copy}},
    {"new --link-video",
     [](const ScratchFolder& s) {
       return std::pair{newLessonArguments(s, {"--force", "--link-video"}), s.path() / "lesson"};
     },
     {LessonStep::Write, LessonStep::Link}},
    {"publish",
     [](const ScratchFolder& s) {
       EXPECT_EQ(makeLesson(s).status, 0);
       return std::pair{std::vector<std::string>{"publish", s.file("lesson"), s.file("site"), "--force", "--module",
                                                 makeModule(s).string()},
                        s.path() / "site"};
     },
     {LessonStep::Read, LessonStep::Kind, LessonStep::Resolve, LessonStep::MakeFolders, LessonStep::List,
      LessonStep::Write, LessonStep::Copy}},
};

TEST(LessonFileFailures, AFailureAtEachStepIsReportedAndLeavesEachOldFileWhole) {
  pagemodel::PosixFileSystem host;
  lessonmaking::SystemLessonFiles system(host);
  for (const Rewrite& rewrite : kRewrites) {
    SCOPED_TRACE(rewrite.name);
    ScratchFolder scratch;
    const auto [args, folder] = rewrite.arrange(scratch);
    ASSERT_EQ(lesson(args, "/no/module", system).status, 0);
    const auto made = contentsOf(folder);
    makeOld(folder, made);
    FaultyLessonFiles recording(system);
    ASSERT_EQ(lesson(args, "/no/module", recording).status, 0);
    const std::vector<testing::LessonCall> calls = recording.calls();
    for (const LessonStep step : rewrite.steps) {
      EXPECT_TRUE(std::any_of(calls.begin(), calls.end(), [&](const auto& c) { return c.step == step; }))
          << static_cast<int>(step);
    }
    for (std::size_t i = 0; i < calls.size(); ++i) {
      SCOPED_TRACE(std::to_string(i) + ": " + calls[i].path);
      makeOld(folder, made);
      FaultyLessonFiles faulty(system);
      faulty.failCall(i);
      const LessonRun run = lesson(args, "/no/module", faulty);
      EXPECT_EQ(run.status, 1);
      EXPECT_EQ(run.err, "error 70 " + calls[i].path + ": injected failure\n");
      expectOldOrNew(folder, made);
    }
  }
}

}  // namespace
}  // namespace reVoziz::tools
