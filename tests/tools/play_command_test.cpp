#include "tools/play_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace reVoziz::tools {
namespace {

const std::filesystem::path kLessons = REVOZIZ_TEST_LESSONS;

struct PlayOutput {
  int status;
  std::string out;
  std::string err;
};

PlayOutput play(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  const PlayOptions options = parsePlayArguments(args, kLessons / "tool_lesson");
  const int status = runPlay(options, out, err);
  return {status, out.str(), err.str()};
}

TEST(PlayCommand, PrintsEachMarkingOfBothListsInTickOrder) {
  const PlayOutput run = play({});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "00:00:00 tq_toc c1\n"
            "00:00:00 tq_trans s1\n"
            "00:00:10 tq_trans s2\n"
            "00:00:20 tq_toc c2\n"
            "00:00:20 tq_trans Una frase sin identificador, más larga q\n"
            "00:00:30 tq_trans s4\n");
  EXPECT_EQ(run.err, "");
}

TEST(PlayCommand, RateScalesTheClockAndUntilStopsTheRun) {
  const PlayOutput run = play({"--rate", "2", "--until", "15"});
  EXPECT_EQ(run.out,
            "00:00:01 tq_toc c1\n"
            "00:00:01 tq_trans s1\n"
            "00:00:10 tq_trans s2\n");
}

TEST(PlayCommand, ClickSeeksAndTheNextTickMarks) {
  const PlayOutput run = play({"--click", "2=tq_trans#s4"});
  EXPECT_EQ(run.out,
            "00:00:00 tq_toc c1\n"
            "00:00:00 tq_trans s1\n"
            "00:00:30 tq_toc c2\n"
            "00:00:30 tq_trans s4\n");
}

TEST(PlayCommand, SeekingBackwardsMakesTheRunLonger) {
  const PlayOutput run = play({"--until", "12", "--click", "11=tq_trans#s1"});
  EXPECT_EQ(run.out,
            "00:00:00 tq_toc c1\n"
            "00:00:00 tq_trans s1\n"
            "00:00:10 tq_trans s2\n"
            "00:00:00 tq_trans s1\n"
            "00:00:10 tq_trans s2\n");
}

TEST(PlayCommand, FailingTicksAreReportedAndTheRunGoesOn) {
  std::ostringstream out;
  std::ostringstream err;
  PlayOptions options;
  options.lesson = kLessons / "tool_no_toc";
  options.until = 2;
  EXPECT_EQ(runPlay(options, out, err), 0);
  // Without a table of contents no list is marked, not even the transcript.
  EXPECT_EQ(out.str(), "");
  std::istringstream lines(err.str());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    EXPECT_NE(line.find(" error 438 "), std::string::npos) << line;
    ++count;
  }
  EXPECT_EQ(count, 4);  // ticks at 0.5, 1.0, 1.5 and 2.0 s
  EXPECT_EQ(err.str().substr(0, 19), "00:00:00 error 438 ");
}

TEST(PlayCommand, ALessonThatCannotLoadExitsWithTwo) {
  std::ostringstream out;
  std::ostringstream err;
  testing::ScratchFolder scratch;
  std::filesystem::create_symlink("loop", scratch.path() / "loop");
  // Missing, behind a link loop, a name too long: none is a lesson, and none aborts the tool.
  for (const std::filesystem::path& lesson :
       {kLessons / "no_such_lesson", scratch.path() / "loop" / "x", scratch.path() / std::string(300, 'a')}) {
    PlayOptions missing;
    missing.lesson = lesson;
    EXPECT_EQ(runPlay(missing, out, err), 2) << lesson;
  }
  PlayOptions noIndex;
  noIndex.lesson = kLessons;  // a folder, but no index.html in it
  EXPECT_EQ(runPlay(noIndex, out, err), 2);
  EXPECT_NE(err.str().find("index.html"), std::string::npos);
  EXPECT_EQ(out.str(), "");
}

TEST(PlayArguments, BadArgumentsAreRejected) {
  const std::vector<std::vector<std::string>> bad = {
      {"--until"},          {"--until", "soon"},       {"--rate", "0"},
      {"--rate", "-1"},     {"--click", "5"},          {"--click", "5=tq_trans"},
      {"--click", "x=a#b"}, {"--click", "5=#s1"},      {"--click", "-1=tq_trans#s1"},
      {"a", "b"},           {"--unknown"},
  };
  for (const auto& args : bad) {
    EXPECT_THROW(parsePlayArguments(args, "lesson"), std::invalid_argument) << args[0];
  }
}

TEST(PlayArguments, ClicksKeepTheirDecimalsAndTarget) {
  const std::vector<std::string> args = {"here", "--click", "2.75=tq_toc#c3"};
  const PlayOptions options = parsePlayArguments(args, "default");
  EXPECT_EQ(options.lesson, "here");
  ASSERT_EQ(options.clicks.size(), 1u);
  EXPECT_DOUBLE_EQ(options.clicks[0].seconds, 2.75);
  EXPECT_EQ(options.clicks[0].frame, "tq_toc");
  EXPECT_EQ(options.clicks[0].id, "c3");
}

}  // namespace
}  // namespace reVoziz::tools
