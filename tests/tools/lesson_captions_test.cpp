// What `lesson new` and `lesson check` tell a teacher about the captions they
// were given: cues left out, files without cues, languages, the summary.

#include <gtest/gtest.h>

#include <algorithm>

#include "lesson_run.h"
#include "lessonmaking/lesson_pages.h"
#include "lessonmaking/system_lesson_files.h"
#include "pagemodel/posix_file_system.h"
#include "support/faulty_lesson_files.h"
#include "support/scratch_folder.h"

namespace reVoziz::tools {
namespace {

namespace fs = std::filesystem;

std::string summary(const std::string& cues, const std::string& segments, int chapters, int warnings,
                    const fs::path& dir) {
  return "cues: " + cues + "\nsegments: " + segments + "\nchapters: " + std::to_string(chapters) +
         "\ninterface: en\nwarnings: " + std::to_string(warnings) + "\nserve: ./scripts/serve --root " + dir.string() + "\n";
}

// "--captions" LANG=FILE of a test file.
std::string captionsOf(const char* language, const char* file) {
  std::string value = language;
  value += '=';
  value += (kCaptions / file).string();
  return value;
}

TEST(LessonCaptions, NewReportsEachCueLeftOutAndRefusesCaptionsWithoutCues) {
  const std::string rolled = "the cue only repeats the lines before it, as rolling captions do; it is left out";
  const std::string noCue = ": no cue with text; a lesson needs at least one";
  const std::string commas = (kCaptions / "srt_commas.vtt").string();
  const std::string notTiming =
      ": warning: \"-->\" on a line that is not a cue timing (MM:SS.mmm --> MM:SS.mmm); the lines up to the next "
      "blank line are left out\n";
  const struct {
    std::string file;
    int status;
    std::string err;
    std::string cues;      // of the summary
    std::string segments;  // of the summary
    int chapters;
  } cases[] = {
      {"roll_up.vtt", 0, (kCaptions / "roll_up.vtt").string() + ":12: warning: " + rolled + "\n",
       "en 4 read, 1 dropped", "3 (trans_en.html)", 1},
      {"auto_generated.vtt", 0,
       (kCaptions / "auto_generated.vtt").string() + ":9: warning: " + rolled + "\n" +
           (kCaptions / "auto_generated.vtt").string() + ":17: warning: " + rolled + "\n",
       "en 5 read, 2 dropped", "3 (trans_en.html)", 1},
      {"greetings_es.vtt", 0, "", "en 6 read, 0 dropped", "6 (trans_en.html)", 1},
      {"long_lecture.vtt", 0, "", "en 26 read, 0 dropped", "26 (trans_en.html)", 3},
      {"srt_commas.vtt", 1, commas + ":4" + notTiming + commas + ":8" + notTiming + "error 5 " + commas + noCue + "\n",
       "", "", 0},
  };
  for (const auto& c : cases) {
    testing::ScratchFolder scratch;
    const LessonRun run = lesson({"new", scratch.file("lesson"), "--video", writeVideo(scratch, "v.webm"),
                                  "--captions", "en=" + (kCaptions / c.file).string()});
    EXPECT_EQ(run.status, c.status) << c.file;
    EXPECT_EQ(run.err, c.err) << c.file;
    if (c.status != 0) {
      EXPECT_EQ(run.out, "") << c.file;
      EXPECT_FALSE(fs::exists(scratch.path() / "lesson")) << c.file;
      continue;
    }
    const int warnings = static_cast<int>(std::count(c.err.begin(), c.err.end(), '\n'));
    EXPECT_EQ(run.out, summary(c.cues, c.segments, c.chapters, warnings, scratch.path() / "lesson")) << c.file;
    const LessonRun check = lesson({"check", scratch.file("lesson")});
    EXPECT_EQ(check.status, 0) << c.file << check.out;
  }
}

TEST(LessonCaptions, LanguagesDifferingOnlyInCaseAreRefusedAndFilesAreLowerCase) {
  testing::ScratchFolder scratch;
  const std::string video = writeVideo(scratch, "v.webm");
  const LessonRun clash = lesson({"new", scratch.file("clash"), "--video", video, "--captions", captionsOf("en", "lesson_en.vtt"),
                                  "--captions", captionsOf("EN", "lesson_es.vtt")});
  EXPECT_EQ(clash.status, 1);
  EXPECT_EQ(clash.err, "error 5 --captions: the languages en and EN differ only in case\n");
  EXPECT_FALSE(fs::exists(scratch.path() / "clash"));

  const LessonRun made = lesson({"new", scratch.file("lesson"), "--video", video, "--captions", captionsOf("es-MX", "lesson_es.vtt"),
                                 "--captions", captionsOf("EN-us", "lesson_en.vtt")});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_NE(made.out.find("\nsegments: 4 (trans_es-mx.html), 4 (trans_en-us.html)\n"), std::string::npos) << made.out;
  const std::string page = scratch.read("lesson/index.html");
  EXPECT_NE(page.find("<span id=\"tq_selLabel1\">Español (México)</span>"), std::string::npos);
  EXPECT_NE(page.find("tq_href=\"trans_en-us.html\">English (United States)</div>"), std::string::npos);
  EXPECT_NE(scratch.read("lesson/trans_es-mx.html").find("<html lang=\"es-MX\""), std::string::npos);
  EXPECT_EQ(lesson({"check", scratch.file("lesson")}).status, 0);
}

// A list without segments shows nothing and marks nothing: the check says so
// and fails, with the counts it found.
TEST(LessonCaptions, CheckFlagsAListWithoutSegments) {
  testing::ScratchFolder scratch;
  ASSERT_EQ(makeLesson(scratch).status, 0);
  scratch.write("lesson/trans_es.html", lessonmaking::transcriptPage({"es", {}}));
  const LessonRun check = lesson({"check", scratch.file("lesson")});
  EXPECT_EQ(check.status, 1);
  const std::string page = (scratch.path() / "lesson" / "trans_es.html").string();
  EXPECT_NE(check.out.find(page + ":"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find(": the list container holds no segment\n"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("\nsegments: 4 (trans_en.html), 0 (trans_es.html)\nwarnings: 0\nproblems: 1\n"), std::string::npos)
      << check.out;
}

// The video shows a captions track per language; check tells of a track the
// browser cannot show, and publish ships them.
TEST(LessonCaptions, EachLanguageGetsACaptionsTrackThatCheckReadsAndPublishShips) {
  testing::ScratchFolder scratch;
  ASSERT_EQ(makeLesson(scratch).status, 0);
  EXPECT_TRUE(scratch.read("lesson/captions_es.vtt")
                  .starts_with("WEBVTT\n\n00:00:00.500 --> 00:00:04.000\nProfesora: Bienvenidos a la lección.\n\n"));
  const std::string page = scratch.read("lesson/index.html");
  EXPECT_NE(page.find("<track kind=\"captions\" srclang=\"en\" label=\"English\" src=\"captions_en.vtt\" default=\"\">"),
            std::string::npos);
  EXPECT_NE(page.find("<track kind=\"captions\" srclang=\"es\" label=\"Español\" src=\"captions_es.vtt\">"),
            std::string::npos);

  ASSERT_EQ(lesson({"publish", scratch.file("lesson"), scratch.file("site")}, makeModule(scratch)).status, 0);
  for (const char* track : {"captions_en.vtt", "captions_es.vtt"}) {
    EXPECT_EQ(scratch.read(std::string("site/") + track), scratch.read(std::string("lesson/") + track)) << track;
  }

  const std::string track = scratch.file("lesson/captions_es.vtt");
  // The check names the line of the page that holds the track.
  const auto at = page.find("src=\"captions_es.vtt\"");
  ASSERT_NE(at, std::string::npos);
  const std::string where =
      "index.html:" + std::to_string(1 + std::count(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(at), '\n')) + ": ";
  const struct {
    const char* name;
    std::function<void()> breakTrack;
    bool failRead;
    std::string problem;
  } cases[] = {
      {"missing", [&] { std::filesystem::remove(track); }, false, "the captions track captions_es.vtt does not exist"},
      {"SRT", [&] { scratch.write("lesson/captions_es.vtt", "1\n00:00:01,000 --> 00:00:02,000\nHola\n"); }, false,
       "the captions track captions_es.vtt is not a WebVTT file"},
      {"unreadable", [] {}, true, "the captions track captions_es.vtt cannot be read: " + track + ": injected failure"},
  };
  pagemodel::PosixFileSystem host;
  lessonmaking::SystemLessonFiles system(host);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string kept = scratch.read("lesson/captions_es.vtt");
    c.breakTrack();
    testing::FaultyLessonFiles files(system);
    if (c.failRead) {
      testing::FaultyLessonFiles recording(system);
      lesson({"check", scratch.file("lesson")}, "/no/module", recording);
      const auto& calls = recording.calls();
      const auto read = std::find_if(calls.begin(), calls.end(), [&](const testing::LessonCall& call) {
        return call.step == testing::LessonStep::Read && call.path == track;
      });
      ASSERT_NE(read, calls.end());
      files.failCall(static_cast<std::size_t>(read - calls.begin()));
    }
    const LessonRun check = lesson({"check", scratch.file("lesson")}, "/no/module", files);
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find(where + c.problem + "\n"), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("\nproblems: 1\n"), std::string::npos) << check.out;
    scratch.write("lesson/captions_es.vtt", kept);
  }
}

TEST(LessonCaptions, TheInterfaceSpeaksTheAskedLanguageElseTheFirstCaptionsOne) {
  const struct {
    std::vector<std::string> more;
    int status;
    const char* lang;     // of the lesson page
    const char* notes;    // the menu's notes option
    std::string err;
  } cases[] = {
      {{}, 0, "en", "Notes", ""},
      {{"--lang", "es"}, 0, "es", "Notas", ""},
      {{"--lang", "EN-gb"}, 0, "en", "Notes", ""},
      {{"--lang", "fr"}, 1, "", "", "error 5 --lang: the lesson maker has no interface texts in \"fr\"; it knows es, en\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.more.empty() ? "no --lang" : c.more.back());
    testing::ScratchFolder scratch;
    const LessonRun made = makeLesson(scratch, c.more);
    EXPECT_EQ(made.status, c.status);
    EXPECT_EQ(made.err, c.err);
    if (c.status != 0) {
      EXPECT_FALSE(fs::exists(scratch.path() / "lesson"));
      continue;
    }
    EXPECT_NE(made.out.find(std::string("\ninterface: ") + c.lang + "\n"), std::string::npos) << made.out;
    EXPECT_NE(scratch.read("lesson/index.html").find(std::string("<html lang=\"") + c.lang + "\">"), std::string::npos);
    EXPECT_NE(scratch.read("lesson/index.html").find(std::string("tq_href=\"notes.html\">") + c.notes + "</div>"),
              std::string::npos);
    EXPECT_NE(scratch.read("lesson/notes.html").find(std::string("<html lang=\"") + c.lang + "\">"), std::string::npos);
    EXPECT_EQ(lesson({"check", scratch.file("lesson")}).status, 0);
  }
  EXPECT_THROW(lesson({"new", "out", "--video", "v.webm", "--captions", "en=x.vtt", "--lang"}), std::invalid_argument);
}

}  // namespace
}  // namespace reVoziz::tools
