#include "tools/call_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace reVoziz::tools {
namespace {

const std::filesystem::path kLessons = REVOZIZ_TEST_LESSONS;

struct CallOutput {
  int status;
  std::string out;
  std::string err;
};

CallOutput call(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCall(parseCallArguments(args, kLessons / "tool_lesson"), out, err);
  return {status, out.str(), err.str()};
}

TEST(CallCommand, PrintsTheResultOfAMethodCalledByName) {
  EXPECT_EQ(call({"SecondsToTime", "3725.5"}).out, "01:02:06\n");
  EXPECT_EQ(call({"max", "-3", "7"}).out, "7\n");
  // The lesson is started first, so the player is bound.
  const CallOutput seek = call({"goTo_", "00:00:30"});
  EXPECT_EQ(seek.status, 0);
  EXPECT_EQ(seek.out, "\n");
}

TEST(CallCommand, ObjectArgumentsNameWindowsAndElements) {
  const CallOutput segment = call({(kLessons / "tool_lesson").string(), "getCurrentSegment",
                                   "@tq_trans#iText", "10"});
  EXPECT_EQ(segment.status, 0) << segment.err;
  EXPECT_EQ(segment.out, "HTMLDivElement\n");
  EXPECT_EQ(call({"getVal", "@tq_trans#iText", "tq_mode"}).status, 0);
  EXPECT_EQ(call({"singleSegments", "@"}).status, 1);  // no event on the window

  const CallOutput missing = call({"getVal", "@tq_trans#nosuch", "id"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("tq_trans#nosuch"), std::string::npos);
  EXPECT_EQ(call({"toggleXpand", "@nosuchframe"}).status, 2);
}

TEST(CallCommand, FailuresPrintTheCodeAndMessage) {
  const CallOutput mismatch = call({"min", "abc", "1"});
  EXPECT_EQ(mismatch.status, 1);
  EXPECT_EQ(mismatch.out, "error 13 Type mismatch\n");
  EXPECT_EQ(call({"nosuch"}).out, "error 0x80020006 Unknown name\n");
  // A first argument too long for a folder's name is a method's name, not a crash.
  EXPECT_EQ(call({std::string(300, 'm')}).out, "error 0x80020006 Unknown name\n");
  EXPECT_EQ(call({"min", "1"}).out, "error 0x8002000E Wrong number of arguments\n");
  EXPECT_THROW(parseCallArguments(std::vector<std::string>{(kLessons / "tool_lesson").string()},
                                  kLessons),
               std::invalid_argument);
}

}  // namespace
}  // namespace reVoziz::tools
