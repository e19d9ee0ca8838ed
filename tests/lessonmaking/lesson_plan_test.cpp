#include "lessonmaking/lesson_plan.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "support/file_bytes.h"

namespace reVoziz::lessonmaking {
namespace {

const std::filesystem::path kFiles = REVOZIZ_TEST_CAPTIONS;

Captions vtt(const std::string& body) { return captions::readCaptions("WEBVTT\n\n" + body); }

std::vector<std::string> htmlOf(const std::vector<Segment>& segments) {
  std::vector<std::string> html;
  for (const Segment& s : segments) html.push_back(std::to_string(s.start) + " " + s.html);
  return html;
}

TEST(LessonPlan, RollingCaptionsGiveEachLineOnce) {
  const auto segments = segmentsOf(captions::readCaptions(testing::fileBytes(kFiles / "auto_generated.vtt")), "auto.vtt");
  EXPECT_EQ(htmlOf(segments), (std::vector<std::string>{
                                  "0 welcome back to the channel",
                                  "2 today we talk about lenses",
                                  "8 wide angle first",
                              }));
}

TEST(LessonPlan, OrdinaryCaptionsKeepRepeatedLines) {
  const auto segments = segmentsOf(
      vtt("00:01.000 --> 00:02.000\nYes.\n\n00:03.000 --> 00:04.000\nYes.\n\n"
          "00:05.000 --> 00:06.000\n \n"),
      "f.vtt");
  EXPECT_EQ(htmlOf(segments), (std::vector<std::string>{"1 Yes.", "3 Yes."}));
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
  const auto toc = pauseEntries(vtt(
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

}  // namespace
}  // namespace reVoziz::lessonmaking
