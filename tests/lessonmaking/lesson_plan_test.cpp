#include "lessonmaking/lesson_plan.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "support/file_bytes.h"

namespace reVoziz::lessonmaking {
namespace {

const std::filesystem::path kFiles = REVOZIZ_TEST_CAPTIONS;

Captions vtt(const std::string& body) { return captions::readCaptions("WEBVTT\n\n" + body); }

std::vector<Segment> segmentsOf(const Captions& captions, const std::string& file) {
  return planTranscript(captions, file).segments;
}

std::vector<std::string> htmlOf(const std::vector<Segment>& segments) {
  std::vector<std::string> html;
  for (const Segment& s : segments) html.push_back(std::to_string(s.start) + " " + s.html);
  return html;
}

Captions file(const std::string& name) { return captions::readCaptions(testing::fileBytes(kFiles / name)); }

std::vector<int> linesOf(const captions::CaptionWarnings& warnings) {
  std::vector<int> lines;
  for (const auto& w : warnings) lines.push_back(w.line);
  return lines;
}

// Each line once for rolling captions; ordinary captions keep what they say twice.
TEST(LessonPlan, RepeatedLinesAreDroppedOnlyWhereCuesRoll) {
  struct Case {
    const char* file;
    std::vector<std::string> segments;
    std::vector<int> droppedAt;  // lines of the cues left out, each warned of
  };
  const Case cases[] = {
      {"auto_generated.vtt",
       {"0 welcome back to the channel", "2 today we talk about lenses", "8 wide angle first"},
       {9, 17}},
      {"roll_up.vtt", {"1 GOOD EVENING. THE COUNCIL MET TODAY", "3 TO VOTE ON THE NEW PARK.", "7 IT PASSED."}, {12}},
      {"song_chorus.srt",
       {"5 ♪ Cielito lindo ♪", "8 Ay, ay, ay, ay, canta y no llores", "12 canta y no llores",
        "15 Ay, ay, ay, ay, canta y no llores", "18 Ay, ay, ay, ay, canta y no llores"},
       {}},
      {"greetings_es.vtt",
       {"1 Buenos días.", "2 Buenos días.", "4 - ¿Cómo estás? - Bien, ¿y tú?", "5 okay", "6 okay", "7 Bien, ¿y tú?"},
       {}},
  };
  for (const Case& c : cases) {
    const TranscriptPlan plan = planTranscript(file(c.file), c.file);
    EXPECT_EQ(htmlOf(plan.segments), c.segments) << c.file;
    EXPECT_EQ(linesOf(plan.warnings), c.droppedAt) << c.file;
    EXPECT_EQ(plan.cuesDropped, c.droppedAt.size()) << c.file;
    EXPECT_EQ(plan.cuesRead, file(c.file).cues.size()) << c.file;
  }
  const TranscriptPlan blank =
      planTranscript(vtt("00:01.000 --> 00:02.000\nYes.\n\n00:05.000 --> 00:06.000\n \n"), "f.vtt");
  EXPECT_EQ(htmlOf(blank.segments), (std::vector<std::string>{"1 Yes."}));
  ASSERT_EQ(blank.warnings.size(), 1u);
  EXPECT_EQ(blank.warnings[0].line, 6);
  EXPECT_EQ(blank.warnings[0].message, "the cue has no text; it is left out");
}

TEST(LessonPlan, CaptionsWithoutACueWithTextAreAnErrorNamingTheFile) {
  struct Case {
    std::string name;
    Captions captions;
  };
  const Case cases[] = {
      {"srt_commas.vtt", file("srt_commas.vtt")},
      {"blank.vtt", vtt("00:01.000 --> 00:02.000\n \n")},
      {"rolled.vtt", vtt("00:01.000 --> 00:02.000\n<00:01.500>\n")},
  };
  for (const Case& c : cases) {
    try {
      planTranscript(c.captions, c.name);
      ADD_FAILURE() << c.name;
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::InvalidArgument);
      EXPECT_EQ(std::string(e.what()), c.name + ": no cue with text; a lesson needs at least one");
    }
    EXPECT_THROW(chapterEntries(c.captions, c.name), Error) << c.name;
  }
}

TEST(LessonPlan, CueLineBreaksRunOnAsSpaces) {
  const auto segments = segmentsOf(
      vtt("00:01.000 --> 00:02.000\n<i>one</i>\ntwo\n\n00:03.000 --> 00:04.000\nthree \n<b>four</b>\n"), "f.vtt");
  EXPECT_EQ(htmlOf(segments), (std::vector<std::string>{"1 <i>one</i> two", "3 three <b>four</b>"}));
}

TEST(LessonPlan, SegmentsStartAtWholeSecondsRoundedDownInOrderOfStart) {
  const auto segments = segmentsOf(
      vtt("00:09.999 --> 00:11.000\nlater\n\n00:02.500 --> 00:03.000\nearlier\n\n"
          "00:09.000 --> 00:10.000\n<script>x</script>\n"),
      "f.vtt");
  EXPECT_EQ(htmlOf(segments), (std::vector<std::string>{
                                  "2 earlier",
                                  "9 x",
                                  "9 later",
                              }));
}

TEST(LessonPlan, AStartPastTheSecondsRangeNamesTheFileAndLine) {
  try {
    segmentsOf(vtt("\n999999:00:00.000 --> 999999:00:01.000\nfar\n"), "far.vtt");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "far.vtt:4: the cue starts too late for a lesson");
  }
}

TEST(LessonPlan, ChaptersGiveOneEntryEach) {
  const auto toc = chapterEntries(
      vtt("00:00.000 --> 01:00.000\nIntro\n\n01:00.500 --> 02:00.000\n<b>Light</b> &amp; shade\n"),
      "ch.vtt");
  ASSERT_EQ(toc.size(), 2u);
  EXPECT_EQ(toc[1].start, 60);
  EXPECT_EQ(toc[1].title, "Light & shade");
}

TEST(LessonPlan, WithoutChaptersAnEntryAtEachLongPauseAtMostOneAMinute) {
  const auto toc = tocEntries(vtt(
      "00:00:01.000 --> 00:00:05.000\nWe begin with a look at the camera body itself\n\n"
      "00:00:06.500 --> 00:00:10.000\nshort gap, no entry\n\n"
      "00:00:40.000 --> 00:01:09.500\nlong pause but too soon\n\n"
      "00:01:10.000 --> 00:01:20.000\nstill no pause\n\n"
      "00:01:21.900 --> 00:01:25.000\ngap of 1.9 s\n\n"
      "00:01:27.000 --> 00:01:30.000\nLenses and focal length\n"));
  ASSERT_EQ(toc.size(), 2u);
  EXPECT_EQ(toc[0].start, 1);
  EXPECT_EQ(toc[0].title, "We begin with a look at…");
  EXPECT_EQ(toc[1].start, 87);
  EXPECT_EQ(toc[1].title, "Lenses and focal length");
}

// Machine captions have no long pauses: an entry still comes every five
// minutes at the latest, where a sentence starts if one does.
TEST(LessonPlan, WithoutPausesAnEntryAtLeastEveryFiveMinutesAtASentence) {
  struct Case {
    std::string name;
    Captions captions;
    std::vector<std::int32_t> starts;
    std::string secondTitle;
  };
  const Case cases[] = {
      {"long_lecture.vtt", file("long_lecture.vtt"), {0, 240, 480}, "Part 3 begins with a new…"},
      // No sentence ends: the last cue in time.
      {"unpunctuated",
       vtt("00:00.000 --> 02:00.000\nso the\n\n02:00.000 --> 04:59.000\nthing is\n\n"
           "04:59.000 --> 06:00.000\nwe go on\n\n06:00.000 --> 07:00.000\nand on\n"),
       {0, 299},
       "we go on"},
      // A pause in time wins over a sentence; a cue after a long silence comes next.
      {"pause and silence",
       vtt("00:00.000 --> 01:40.000\nHello.\n\n01:40.000 --> 02:30.000\nA sentence.\n\n"
           "02:35.000 --> 03:00.000\nafter a pause\n\n20:00.000 --> 20:10.000\nmuch later\n"),
       {0, 155, 1200},
       "after a pause"},
  };
  for (const Case& c : cases) {
    std::vector<std::int32_t> starts;
    const auto toc = tocEntries(c.captions);
    for (const TocEntry& e : toc) starts.push_back(e.start);
    EXPECT_EQ(starts, c.starts) << c.name;
    ASSERT_GT(toc.size(), 1u) << c.name;
    EXPECT_EQ(toc[1].title, c.secondTitle) << c.name;
  }
}

}  // namespace
}  // namespace reVoziz::lessonmaking
