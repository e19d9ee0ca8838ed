#include "captions/webvtt_reader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/error.h"
#include "support/file_bytes.h"

namespace reVoziz::captions {
namespace {

const std::filesystem::path kFiles = REVOZIZ_TEST_CAPTIONS;

std::string fileText(const char* name) { return testing::fileBytes(kFiles / name); }

TEST(WebVttReader, SignatureWithOrWithoutByteOrderMarkAndAnyLineEnd) {
  for (const std::string& text : {
           std::string("WEBVTT\n\n00:01.000 --> 00:02.500\nHello\n"),
           std::string("\xEF\xBB\xBFWEBVTT\n\n00:01.000 --> 00:02.500\nHello\n"),
           std::string("WEBVTT\r\n\r\n00:01.000 --> 00:02.500\r\nHello\r\n"),
           std::string("WEBVTT\r\r00:01.000 --> 00:02.500\rHello"),
           std::string("WEBVTT - a title\n\n00:01.000 --> 00:02.500\nHello"),
       }) {
    const CueList cues = readWebVtt(text).cues;
    ASSERT_EQ(cues.size(), 1u) << text;
    EXPECT_EQ(cues[0].startTime, 1.0);
    EXPECT_EQ(cues[0].endTime, 2.5);
    EXPECT_EQ(cues[0].text, "Hello");
  }
}

TEST(WebVttReader, AWrongSignatureIsAnError) {
  for (const char* text : {"", "WEBVT", "webvtt\n", "WEBVTTX\n\n00:01.000 --> 00:02.000\nx",
                           "\n\nWEBVTT", "1\n00:00:01,000 --> 00:00:02,000\nSRT"}) {
    try {
      readWebVtt(text);
      ADD_FAILURE() << "read without a signature: " << text;
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::InvalidArgument);
    }
  }
}

TEST(WebVttReader, TimestampsWithAndWithoutHours) {
  struct Case {
    const char* text;
    std::optional<double> seconds;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"00:01.000", 1.0},
           {"59:59.999", 3599.999},
           {"01:00:00.000", 3600.0},
           {"1:02:03.004", 3723.004},
           {"123:00:00.500", 442800.5},
           {"60:00.000", std::nullopt},  // two digits over 59 are hours, which then need minutes
           {"60:00:00.000", 216000.0},
           {"00:60.000", std::nullopt},
           {"00:00:60.000", std::nullopt},
           {"0:01.000", std::nullopt},  // one digit: hours, so three fields
           {"00:01.00", std::nullopt},
           {"00:01.0000", std::nullopt},
           {"00:01,000", std::nullopt},
           {"1234567890:00:00.000", std::nullopt},  // past any meaningful time
       }) {
    EXPECT_EQ(readWebVttTimestamp(c.text), c.seconds) << c.text;
  }
}

TEST(WebVttReader, IdsSettingsAndMultiLineText) {
  const CueList cues = readWebVtt(
      "WEBVTT\n\nintro\n00:00:01.000 --> 00:00:04.000 align:start position:10% line:0\n"
      "first line\nsecond line\n\n00:05.000-->00:06.000\nno id\n").cues;
  ASSERT_EQ(cues.size(), 2u);
  EXPECT_EQ(cues[0].id, "intro");
  EXPECT_EQ(cues[0].text, "first line\nsecond line");
  EXPECT_EQ(cues[0].line, 4);
  EXPECT_EQ(cues[1].id, "");
  EXPECT_EQ(cues[1].startTime, 5.0);
}

TEST(WebVttReader, NoteStyleAndRegionBlocksGiveNoCue) {
  const CueList cues = readWebVtt(
      "WEBVTT\n\nREGION\nid:fred width:40%\n\nSTYLE\n::cue { color: red }\n\n"
      "NOTE a comment\nover two lines\n\n00:01.000 --> 00:02.000\nonly cue\n\nNOTE at the end\n").cues;
  ASSERT_EQ(cues.size(), 1u);
  EXPECT_EQ(cues[0].text, "only cue");
}

TEST(WebVttReader, ABadTimingLineDropsOnlyItsCueWithAWarning) {
  struct Case {
    const char* text;
    std::vector<std::string> cues;
    std::vector<int> warningLines;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"WEBVTT\n\n00:01.000 --> 00:02.000\none\n\n00:03.0 --> 00:04.000\nbroken\n\n"
            "bad\n00:xx.000 --> 00:05.000\nbroken too\n\n00:06.000 --> 00:07.000\nthree\n",
            {"one", "three"}, {6, 10}},
           // A "->" typo leaves a block without a timing.
           {"WEBVTT\n\n1\n00:01.000 -> 00:02.000\none\n\n2\n00:03.000 --> 00:04.000\ntwo\n", {"two"}, {3}},
           {"WEBVTT\n\n00:01.000 --> 00:02.000\none\n\n00:03.000 -> 00:04.000\ntwo\n\n00:05.000 --> 00:06.000\nthree",
            {"one", "three"}, {6}},
           // "-->" in cue text ends the cue, and the lines after it up to a blank line go.
           {"WEBVTT\n\n00:01.000 --> 00:02.000\nClick Next\nthen --> Save\nand more\n\n00:05.000 --> 00:06.000\nlast",
            {"Click Next", "last"}, {5}},
           {"WEBVTT\n\n00:01.000 --> 00:02.000\nNext -> Save", {"Next -> Save"}, {}},
           {"WEBVTT\n\nNOTE fine\n\nSTYLE\n::cue { color: red }\n\n00:01.000 --> 00:02.000\nx", {"x"}, {}},
           // A comment may not hold "-->": the block is read as a broken cue.
           {"WEBVTT\n\nNOTE a --> b\n\n00:01.000 --> 00:02.000\nx", {"x"}, {3}},
       }) {
    const Captions read = readWebVtt(c.text);
    std::vector<std::string> cues;
    for (const Cue& cue : read.cues) cues.push_back(cue.text);
    EXPECT_EQ(cues, c.cues) << c.text;
    std::vector<int> lines;
    for (const CaptionWarning& warning : read.warnings) lines.push_back(warning.line);
    EXPECT_EQ(lines, c.warningLines) << c.text;
  }
}

TEST(WebVttReader, ATimingLineWithoutABlankLineBeforeItStartsTheNextCue) {
  const CueList cues = readWebVtt(
      "WEBVTT\n00:01.000 --> 00:02.000\none\n00:03.000 --> 00:04.000\ntwo\n").cues;
  ASSERT_EQ(cues.size(), 2u);
  EXPECT_EQ(cues[0].text, "one");
  EXPECT_EQ(cues[1].text, "two");
}

TEST(WebVttReader, NulBytesAreReplaced) {
  std::string text = "WEBVTT\n\n00:01.000 --> 00:02.000\na";
  text += '\0';
  text += "b\n";
  const CueList cues = readWebVtt(text).cues;
  ASSERT_EQ(cues.size(), 1u);
  EXPECT_EQ(cues[0].text, "a\xEF\xBF\xBD" "b");
}

TEST(WebVttReader, ASpeechToTextToolsFile) {
  const CueList cues = readWebVtt(fileText("speech_to_text.vtt")).cues;
  ASSERT_EQ(cues.size(), 4u);
  EXPECT_EQ(cues[1].id, "2");
  EXPECT_EQ(cues[1].startTime, 4.32);
  EXPECT_EQ(cues[1].text, "<v Speaker 1>Today we look at light meters &amp; exposure.</v>");
  EXPECT_EQ(cues[3].startTime, 80.5);
}

TEST(WebVttReader, AutoGeneratedCaptionsKeepTheirRawText) {
  const CueList cues = readWebVtt(fileText("auto_generated.vtt")).cues;
  ASSERT_EQ(cues.size(), 5u);
  EXPECT_EQ(cues[1].startTime, 2.389);
  EXPECT_EQ(cues[1].endTime, 2.399);
  EXPECT_EQ(cues[1].text, "welcome back to the channel\n ");
  EXPECT_NE(cues[2].text.find("<00:00:02.879><c> we</c>"), std::string::npos);
}

}  // namespace
}  // namespace reVoziz::captions
