#include "tools/lesson_command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

#include "lesson_run.h"
#include "lessonmaking/media_tools.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"
#include "tools/play_command.h"

namespace reVoziz::tools {
namespace {

namespace fs = std::filesystem;

TEST(LessonCommand, CuesPrintsTheCuesAsJson) {
  const LessonRun run = lesson({"cues", (kCaptions / "windows.srt").string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "[\n"
            "  {\"id\": \"1\", \"startTime\": 1, \"endTime\": 3.5, \"text\": \"<i>Hola</i> a todos.\"},\n"
            "  {\"id\": \"2\", \"startTime\": 4, \"endTime\": 6.25, \"text\": \"<font color=\\\"#ffff00\\\">"
            "Bienvenidos</font> al curso\\nde fotografía.\"},\n"
            "  {\"id\": \"3\", \"startTime\": 70, \"endTime\": 72, \"text\": \"<b>Fin</b> "
            "<script>alert(1)</script>\"}\n"
            "]\n");
  const LessonRun bad = lesson({"cues", (kCaptions / "not_captions.txt").string()});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err, "error 5 " + (kCaptions / "not_captions.txt").string() + ":1: not a WebVTT or SRT file\n");
  // A file of the right kind with no cue is no captions file either.
  const std::string commas = (kCaptions / "srt_commas.vtt").string();
  const LessonRun empty = lesson({"cues", commas});
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.out, "");
  EXPECT_NE(empty.err.find("error 5 " + commas + ": no cues\n"), std::string::npos) << empty.err;
}

TEST(LessonCommand, CaptionWarningsGoToStandardErrorAndLeaveTheStatusAlone) {
  const std::string spanish = (kCaptions / "spanish_windows_1252.srt").string();
  const std::string guessed = spanish + ":3: warning: not UTF-8: the file is read as Windows-1252\n";
  const LessonRun cues = lesson({"cues", spanish});
  EXPECT_EQ(cues.status, 0);
  EXPECT_EQ(cues.err, guessed);
  EXPECT_NE(cues.out.find("\"text\": \"¡Adiós, niños!\""), std::string::npos);

  const LessonRun told = lesson({"cues", "--encoding", "windows-1252", spanish});
  EXPECT_EQ(told.err, "");
  EXPECT_EQ(told.out, cues.out);
  const LessonRun wrong = lesson({"cues", spanish, "--encoding", "utf-8"});
  EXPECT_EQ(wrong.status, 0);
  EXPECT_NE(wrong.err.find(spanish + ":11: warning: bytes that are not UTF-8 replaced by U+FFFD\n"), std::string::npos);
  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"cues", spanish, "--encoding", "latin1"}, {"cues", spanish, "--encoding"}, {"cues", "--encoding", "utf-8"},
           {"cues", spanish, spanish}}) {
    EXPECT_THROW(lesson(bad), std::invalid_argument) << bad.back();
  }

  testing::ScratchFolder scratch;
  const LessonRun made = lesson({"new", scratch.file("lesson"), "--video", writeVideo(scratch, "v.webm"),
                                 "--captions", "es=" + spanish, "--captions",
                                 "de=" + (kCaptions / "broken_timing_second_cue.srt").string()});
  EXPECT_EQ(made.status, 0);
  EXPECT_EQ(made.err, guessed + (kCaptions / "broken_timing_second_cue.srt").string() +
                          ":6: warning: not a cue timing (HH:MM:SS,mmm --> HH:MM:SS,mmm); the cue is left out\n");
  EXPECT_NE(scratch.read("lesson/trans_es.html").find("La señora dijo: “mañana…”"), std::string::npos);
  EXPECT_THROW(lesson({"new", scratch.file("other"), "--video", scratch.file("v.webm"), "--captions",
                       "es=" + spanish, "--encoding", "cp1252"}),
               std::invalid_argument);
}

TEST(LessonCommand, ANewLessonPassesTheCheckAndPlaysWithMarkingsAtTheCueStarts) {
  testing::ScratchFolder scratch;
  const LessonRun made = makeLesson(scratch);
  ASSERT_EQ(made.status, 0) << made.err;
  const fs::path dir = scratch.path() / "lesson";
  for (const char* name : {"index.html", "toc.html", "trans_en.html", "trans_es.html", "notes.html",
                           "notes_template.html", "checkchanges.html", "toc_head.html", "open.gif",
                           "modefull_on.gif", "clase 1.webm"}) {
    EXPECT_TRUE(fs::is_regular_file(dir / name)) << name;
  }
  EXPECT_EQ(made.out,
            "cues: en 4 read, 0 dropped; es 4 read, 0 dropped\n"
            "segments: 4 (trans_en.html), 4 (trans_es.html)\n"
            "chapters: 2\n"
            "interface: en\n"
            "warnings: 0\n"
            "serve: ./scripts/serve --root " + dir.string() + "\n");
  const LessonRun check = lesson({"check", dir.string()});
  EXPECT_EQ(check.status, 0);
  EXPECT_EQ(check.out,
            "chapters: 2 (toc.html)\n"
            "segments: 4 (trans_en.html), 4 (trans_es.html)\n"
            "warnings: 0\n"
            "problems: 0\n"
            "serve: ./scripts/serve --root " + dir.string() + "\n");

  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runPlay(parsePlayArguments(std::vector<std::string>{dir.string()}, dir), out, err), 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(out.str(),
            "00:00:00 tq_toc c1\n"
            "00:00:00 tq_trans s1\n"
            "00:00:04 tq_trans s2\n"
            "00:00:12 tq_toc c2\n"
            "00:00:12 tq_trans s3\n"
            "00:00:20 tq_trans s4\n");

  const std::string page = scratch.read("lesson/index.html");
  EXPECT_NE(page.find("<title>Light &amp; &lt;exposure&gt;</title>"), std::string::npos);
  EXPECT_NE(page.find("src=\"clase%201.webm\""), std::string::npos);
  EXPECT_NE(page.find("<span id=\"tq_selLabel1\">English</span>"), std::string::npos);
  EXPECT_NE(page.find("tq_href=\"trans_es.html\">Español</div>"), std::string::npos);
  // The first captions language, English, is the interface's.
  EXPECT_NE(page.find("tq_href=\"notes.html\">Notes</div>"), std::string::npos);
  const std::string english = scratch.read("lesson/trans_en.html");
  EXPECT_NE(english.find("<div class=\"segment\" tq_start=\"00:00:12\" id=\"s3\"><span class=\"sync\">00:12</span> "
                         "A caption may hold alert(\"x\") as plain text.</div>"),
            std::string::npos);
  EXPECT_EQ(english.find("<script"), std::string::npos);
  EXPECT_NE(english.find("<span class=\"speaker\">Teacher:</span> Welcome"), std::string::npos);
}

TEST(LessonCommand, AnExistingFolderIsRefusedUnlessForced) {
  testing::ScratchFolder scratch;
  fs::create_directory(scratch.path() / "lesson");
  scratch.write("lesson/mine.txt", "keep me");
  const LessonRun refused = makeLesson(scratch);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "error 58 " + scratch.file("lesson") +
                             ": the folder exists; pass --force to write into it\n");
  EXPECT_FALSE(fs::exists(scratch.path() / "lesson" / "index.html"));
  const LessonRun forced = makeLesson(scratch, {"--force"});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_TRUE(fs::exists(scratch.path() / "lesson" / "index.html"));
  EXPECT_EQ(scratch.read("lesson/mine.txt"), "keep me");
}

TEST(LessonCommand, ErrorsNameTheFileAndLineAndWriteNothing) {
  testing::ScratchFolder scratch;
  const std::string late = scratch.write("late.vtt", "WEBVTT\n\n00:01.000 --> 00:02.000\nok\n\n"
                                                     "999999:00:00.000 --> 999999:00:01.000\nfar\n");
  const LessonRun run = lesson({"new", scratch.file("out"), "--video", writeVideo(scratch, "v.webm"),
                          "--captions", "en=" + late});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "error 6 " + late + ":6: the cue starts too late for a lesson\n");
  EXPECT_FALSE(fs::exists(scratch.path() / "out"));
  const LessonRun badLanguage = lesson({"new", scratch.file("out"), "--video", scratch.file("v.webm"),
                                  "--captions", "../x=" + late});
  EXPECT_EQ(badLanguage.status, 1);
  const LessonRun noVideo = lesson({"new", scratch.file("out"), "--video", scratch.file("none.webm"),
                              "--captions", "en=" + (kCaptions / "lesson_en.vtt").string()});
  EXPECT_EQ(noVideo.err, "error 53 " + scratch.file("none.webm") + ": no such video file\n");
  EXPECT_THROW(lesson({"new", scratch.file("out"), "--captions", "en"}), std::invalid_argument);
  // A video by the name of a lesson file would replace it.
  for (const char* name : {"index.html", "Notes.html", "captions_en.vtt", "trans_en.html"}) {
    const LessonRun clash = lesson({"new", scratch.file("out"), "--video", scratch.write(name, "x"), "--captions",
                                    "en=" + (kCaptions / "lesson_en.vtt").string()});
    EXPECT_EQ(clash.err, "error 5 " + scratch.file(name) + ": the video has the name of a file of the lesson; rename it\n");
    EXPECT_FALSE(fs::exists(scratch.path() / "out")) << name;
  }
}

TEST(LessonCommand, PublishMakesAFolderOfRelativeAddressesWithTheModule) {
  testing::ScratchFolder scratch;
  ASSERT_EQ(makeLesson(scratch, {"--link-video"}).status, 0);
  ASSERT_TRUE(fs::is_symlink(scratch.path() / "lesson" / "clase 1.webm"));
  makeModule(scratch);
  const LessonRun run = lesson({"publish", scratch.file("lesson"), scratch.file("site")}, scratch.path() / "module");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string page = scratch.read("site/index.html");
  EXPECT_NE(page.find("from \"./revoziz/lesson_host.js\""), std::string::npos);
  EXPECT_EQ(page.find("\"/revoziz/"), std::string::npos);
  EXPECT_EQ(scratch.read("site/revoziz/host.js"), "host.js");
  // The linked video is copied, so the folder stands on its own.
  EXPECT_FALSE(fs::is_symlink(scratch.path() / "site" / "clase 1.webm"));
  EXPECT_EQ(scratch.read("site/clase 1.webm"), testing::fileBytes(kFourHourVideo));
  EXPECT_NE(lesson({"check", scratch.file("site")}).out.find("\nproblems: 0\n"), std::string::npos);
  // What a working folder holds besides the lesson stays behind; the listing
  // names every file written.
  for (const char* name : {"index.html", "checkchanges.html", "revoziz/host.js"}) {
    EXPECT_NE(run.out.find("wrote " + scratch.file("site") + "/" + name + "\n"), std::string::npos) << name;
  }
  EXPECT_NE(run.out.find("python3 -m http.server does not\n"), std::string::npos);
  fs::create_directory(scratch.path() / "lesson" / ".git");
  scratch.write("lesson/.git/config", "[core]");
  scratch.write("lesson/grades.csv", "ana,10");
  scratch.write("lesson/old.html", "<img src=\"old.gif\">");
  std::string lessonPage = scratch.read("lesson/index.html");
  lessonPage.insert(lessonPage.find("</body>"), "<img src=gone.gif><img src=../outside.gif><img src=/root.gif>");
  scratch.write("lesson/index.html", lessonPage);
  scratch.write("outside.gif", "gif");
  const LessonRun again = lesson({"publish", scratch.file("lesson"), scratch.file("site3")}, scratch.path() / "module");
  ASSERT_EQ(again.status, 0) << again.err;
  for (const char* left : {"site3/.git", "site3/grades.csv", "site3/old.html", "site3/outside.gif"}) {
    EXPECT_FALSE(fs::exists(scratch.path() / left)) << left;
  }
  EXPECT_NE(again.err.find("warning: index.html: gone.gif does not exist; not published\n"
                           "warning: index.html: ../outside.gif lies outside the lesson; not published\n"
                           "warning: index.html: /root.gif is an address on the server's root; not published\n"),
            std::string::npos)
      << again.err;

  EXPECT_EQ(lesson({"publish", scratch.file("lesson"), scratch.file("site")}, scratch.path() / "module").status, 1);
  const LessonRun noModule = lesson({"publish", scratch.file("lesson"), scratch.file("site2")}, scratch.path() / "none");
  EXPECT_EQ(noModule.status, 1);
  EXPECT_NE(noModule.err.find("no browser module; build it with scripts/build-web"), std::string::npos);
}

}  // namespace
}  // namespace reVoziz::tools

namespace reVoziz::tools {
namespace {

// A two-second AVI with MPEG-4 picture and MP3 sound, as older cameras and
// editors write: neither browser plays it.
std::string writeOldVideo(const testing::ScratchFolder& scratch) {
  const std::string avi = scratch.file("old.avi");
  const std::string make = "ffmpeg -nostdin -v error -f lavfi -i testsrc=size=32x24:rate=5:duration=2 -f lavfi -i "
                           "sine=duration=2 -c:v mpeg4 -c:a libmp3lame '" + avi + "'";
  if (std::system(make.c_str()) != 0) throw std::runtime_error("ffmpeg could not make " + avi);
  return avi;
}

TEST(LessonCommand, VideosTheBrowsersDoNotBothPlayAreWarnedOfAndTranscodedOnRequest) {
  testing::ScratchFolder scratch;
  const std::string avi = writeOldVideo(scratch);
  const std::string captions = (kCaptions / "lesson_en.vtt").string();
  const LessonRun made = lesson({"new", scratch.file("old"), "--video", avi, "--captions", "en=" + captions});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_EQ(made.err, avi + ": warning: Chromium and Firefox do not both play it: its container (avi, .avi) is "
                            "neither WebM (.webm) nor MP4 (.mp4); --transcode makes a WebM that they do\n" +
                          captions + ": warning: 3 cues start after the video ends (00:00:02)\n");
  const LessonRun checked = lesson({"check", scratch.file("old")});
  EXPECT_NE(checked.out.find(": warning: Chromium and Firefox do not both play the video old.avi: its container"),
            std::string::npos)
      << checked.out;
  EXPECT_NE(checked.out.find(": warning: 3 segments start after the video ends (00:00:02)\n"), std::string::npos) << checked.out;

  const LessonRun transcoded =
      lesson({"new", scratch.file("new"), "--video", avi, "--captions", "en=" + captions, "--transcode"});
  ASSERT_EQ(transcoded.status, 0) << transcoded.err;
  EXPECT_EQ(transcoded.err, captions + ": warning: 3 cues start after the video ends (00:00:02)\n");
  EXPECT_NE(scratch.read("new/index.html").find("src=\"old.webm\""), std::string::npos);
  const auto facts = lessonmaking::probeWithFfprobe(scratch.path() / "new" / "old.webm");
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->videoCodecs, std::vector<std::string>{"vp9"});
  EXPECT_EQ(facts->audioCodecs, std::vector<std::string>{"opus"});
  EXPECT_FALSE(fs::exists(scratch.path() / "old.avi.part"));

  // Without the media tools the lesson is still made, and said once.
  const std::string path = std::getenv("PATH");
  setenv("PATH", scratch.path().c_str(), 1);
  const LessonRun untold = lesson({"new", scratch.file("untold"), "--video", avi, "--captions", "en=" + captions});
  const LessonRun cannot =
      lesson({"new", scratch.file("cannot"), "--video", avi, "--captions", "en=" + captions, "--transcode"});
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(untold.status, 0);
  EXPECT_EQ(untold.err, avi + ": warning: ffprobe is not installed, so the video's format and length are not checked\n");
  EXPECT_EQ(cannot.status, 1);
  EXPECT_NE(cannot.err.find("error 53 " + avi + ": cannot transcode: ffmpeg is not installed\n"), std::string::npos)
      << cannot.err;
}

}  // namespace
}  // namespace reVoziz::tools
