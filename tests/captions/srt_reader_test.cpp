#include "captions/srt_reader.h"

#include <gtest/gtest.h>

#include "captions/captions_file.h"
#include "core/error.h"
#include "support/file_bytes.h"

namespace reVoziz::captions {
namespace {

const std::filesystem::path kFiles = REVOZIZ_TEST_CAPTIONS;

Captions readFixture(const char* name) {
  return readCaptions(testing::fileBytes(kFiles / name), (kFiles / name).string());
}

TEST(SrtReader, ACrlfFileWithAByteOrderMark) {
  const Captions captions = readFixture("windows.srt");
  EXPECT_EQ(captions.dialect, CueDialect::Srt);
  const CueList& cues = captions.cues;
  ASSERT_EQ(cues.size(), 3u);
  EXPECT_EQ(cues[0].id, "1");
  EXPECT_EQ(cues[0].startTime, 1.0);
  EXPECT_EQ(cues[0].endTime, 3.5);
  EXPECT_EQ(cues[1].text, "<font color=\"#ffff00\">Bienvenidos</font> al curso\nde fotografía.");
  EXPECT_EQ(cues[2].startTime, 70.0);
  EXPECT_EQ(cues[2].line, 12);
}

TEST(SrtReader, BlankLineQuirksOfRealFiles) {
  // Extra blank lines, a separator of spaces, a missing separator, a blank
  // line inside a cue's text, a point for the comma, no final line end.
  const CueList cues = readSrt(
      "\n\n1\n00:00:01,000 --> 00:00:02,000\none\n\n\n\n2\n00:00:03,000 --> 00:00:04,000\ntwo\n"
      "   \n3\n00:00:05.000 --> 00:00:06,000\nthree\n4\n00:00:07,000 --> 00:00:08,000\nfour\n\n"
      "and more of four\n\n5\n00:00:09,5 --> 00:00:10,000 X1:100 X2:200\nfive").cues;
  ASSERT_EQ(cues.size(), 5u);
  EXPECT_EQ(cues[0].text, "one");
  EXPECT_EQ(cues[1].text, "two");
  EXPECT_EQ(cues[2].text, "three");
  EXPECT_EQ(cues[2].startTime, 5.0);
  EXPECT_EQ(cues[3].text, "four\n\nand more of four");
  EXPECT_EQ(cues[4].startTime, 9.5);
  EXPECT_EQ(cues[4].text, "five");
}

TEST(SrtReader, ABadTimingDropsOnlyItsCue) {
  const CueList cues = readSrt(
      "1\n00:00:01,000 --> 00:00:02,000\none\n\n2\n00:00:61,000 --> 00:00:62,000\nbad\n\n"
      "3\n00:00:05,000 --> soon\nbad too\n\n4\n00:00:07,000 --> 00:00:08,000\nfour\n").cues;
  ASSERT_EQ(cues.size(), 2u);
  EXPECT_EQ(cues[0].text, "one");
  EXPECT_EQ(cues[1].id, "4");
}

TEST(SrtReader, ArrowsInTextAndBrokenTimings) {
  struct Case {
    const char* text;
    std::vector<std::string> cues;  // id and text of each cue read
    std::vector<int> warningLines;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"1\n00:00:01,000 --> 00:00:02,000\nNext --> Save\n-->\n1 -> 2", {"1:Next --> Save\n-->\n1 -> 2"}, {}},
           {"1\n00:00:01,000 -> 00:00:02,000\none\n\n2\n00:00:03,000 --> 00:00:04,000\ntwo", {"2:two"}, {2}},
           {"00:00:01,000 -> 00:00:02,000\none\n\n00:00:03,000 --> 00:00:04,000\ntwo", {":two"}, {1}},
           {"1\n00:00:01,000 --> 00:00:02,000\none\n\n2\n00:00:03,000 - 00:00:04,000\ntwo\n\n"
            "3\n00:00:05,000 --> 00:00:06,000\nthree",
            {"1:one", "3:three"}, {6}},
           {"1\n00:00:01,000 --> 00:00:02,000\none\n\n00:00:03,000 ->00:00:04,000\ntwo\n\n"
            "3\n00:00:05,000 --> 00:00:06,000\nthree",
            {"1:one", "3:three"}, {5}},
           // Without a blank line before it, a broken timing is text.
           {"1\n00:00:01,000 --> 00:00:02,000\none\n2 -> 3", {"1:one\n2 -> 3"}, {}},
       }) {
    const Captions read = readSrt(c.text);
    std::vector<std::string> cues;
    for (const Cue& cue : read.cues) cues.push_back(cue.id + ':' + cue.text);
    EXPECT_EQ(cues, c.cues) << c.text;
    std::vector<int> lines;
    for (const CaptionWarning& warning : read.warnings) lines.push_back(warning.line);
    EXPECT_EQ(lines, c.warningLines) << c.text;
  }
  EXPECT_TRUE(looksLikeSrt("1\n00:00:01,000 -> 00:00:02,000\none\n\n2\n00:00:03,000 --> 00:00:04,000\ntwo"));
  EXPECT_FALSE(looksLikeSrt("1\n00:00:01,000 -> 00:00:02,000\none"));
}

TEST(CaptionsFile, TellsTheFormatsApartAndRefusesOtherText) {
  EXPECT_EQ(readCaptions("WEBVTT\n\n00:01.000 --> 00:02.000\nx").dialect, CueDialect::WebVtt);
  EXPECT_EQ(readCaptions("00:00:01,000 --> 00:00:02,000\nx").dialect, CueDialect::Srt);
  for (const char* text : {"", "\n\n", "hello\nworld", "1\nno timing here", "<html></html>",
                           "WEBVTTX\n\n00:01.000 --> 00:02.000\nx"}) {
    EXPECT_THROW(readCaptions(text), Error) << text;
  }
  try {
    readFixture("not_captions.txt");
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::InvalidArgument);
    EXPECT_NE(std::string(e.what()).find("not_captions.txt:1: not a WebVTT or SRT file"), std::string::npos);
  }
}

}  // namespace
}  // namespace reVoziz::captions
