#include "control/tq.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

#include "control/started_flag.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using testing::Lesson;
using testing::LessonControl;
using testing::onFreshThread;
using pagemodel::NodePtr;

// A player whose controls answer positions from a script, or one without controls.
class ScriptedPlayer : public Object, public std::enable_shared_from_this<ScriptedPlayer> {
 public:
  explicit ScriptedPlayer(bool hasControls, std::deque<double> positions = {})
      : hasControls_(hasControls), positions_(std::move(positions)) {}

  Value get(std::string_view member) override {
    if (member == "controls" && hasControls_) return std::shared_ptr<Object>(shared_from_this());
    if (member == "currentPosition" && !positions_.empty()) {
      const double position = positions_.front();
      positions_.pop_front();
      return position;
    }
    throw missing(member);
  }
  void put(std::string_view member, const Value&) override { throw missing(member); }
  Value call(std::string_view method, std::span<const Value>) override {
    if (method != "play") throw missing(method);
    return {};
  }
  std::string typeName() const override { return "ScriptedPlayer"; }
  bool sameAs(const Object& other) const override { return this == &other; }

 private:
  static Error missing(std::string_view member) {
    return Error(ErrorCode::MemberNotFound, "no member " + std::string(member));
  }
  bool hasControls_;
  std::deque<double> positions_;
};

// The id of the segment a frame's list marked last; "" before any marking.
std::string marked(const Lesson& lesson, std::string_view frame) {
  const std::string uid = lesson.node(frame, "iText")->attributeOr("tq_oldSegment");
  if (uid.empty()) return "";
  const NodePtr segment = lesson.document(frame)->elementByUniqueId(uid);
  return segment ? segment->attributeOr("id") : "?";
}


TEST(StartedFlag, GatesUntilSetAndBelongsToOneThread) {
  onFreshThread([] {
    EXPECT_FALSE(startedFlag());
    bool ran = false;
    EXPECT_EQ(whenStarted([&] { ran = true; return std::string("body"); }), "");
    int voidRuns = 0;
    whenStarted([&] { ++voidRuns; });  // methods without a result are gated the same way
    EXPECT_FALSE(ran);
    EXPECT_EQ(voidRuns, 0);
    setStartedFlag();
    EXPECT_EQ(whenStarted([&] { ran = true; return std::string("body"); }), "body");
    whenStarted([&] { ++voidRuns; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(voidRuns, 1);
  });
  onFreshThread([] { EXPECT_FALSE(startedFlag()); });
}

TEST(StartedFlag, IsSharedByTheControlsOfOneThreadAndOutlivesThem) {
  onFreshThread([] {
    {
      LessonControl first("spine_tick");
      first.start();
    }
    LessonControl second("spine_tick");
    EXPECT_TRUE(startedFlag());
    // Its notes methods are open, but it ticks only after its own start.
    EXPECT_EQ(second.control.timer().interval(), 0);
    second.clock.advance(2000);
    EXPECT_EQ(marked(second, "tq_toc"), "");
  });
}

TEST(StartVelisk, AFreshControlIsUnboundAndDoesNotTick) {
  LessonControl lesson("spine_tick");
  EXPECT_EQ(lesson.control.timer().interval(), 0);
  EXPECT_FALSE(lesson.control.state().HostWindow.isSet());
  EXPECT_FALSE(lesson.control.state().HostDocument.isSet());
  EXPECT_FALSE(lesson.control.state().Player.isSet());
  lesson.clock.advance(5000);
  EXPECT_EQ(lesson.player->playCalls, 0);
  EXPECT_EQ(marked(lesson, "tq_toc"), "");
}

TEST(StartVelisk, BindsPlaysAndTicksFrom500msOn) {
  LessonControl lesson("spine_tick");
  lesson.player->seek(20);
  lesson.start();
  const ControlState& state = lesson.control.state();
  EXPECT_TRUE(state.HostWindow.sameAs(lesson.windowRef()));
  EXPECT_TRUE(state.HostDocument.sameAs(lesson.documentRef()));
  EXPECT_TRUE(state.Player.sameAs(Player(lesson.player)));
  EXPECT_TRUE(startedFlag());
  EXPECT_EQ(lesson.player->playCalls, 1);
  EXPECT_EQ(lesson.control.timer().interval(), 500);
  EXPECT_TRUE(state.NotesBackup.empty());
  EXPECT_EQ(lesson.top->get("tqStarted"), Value(true));

  lesson.clock.advance(499);
  EXPECT_EQ(marked(lesson, "tq_toc"), "");
  lesson.clock.advance(1);
  EXPECT_EQ(marked(lesson, "tq_toc"), "t14");
  EXPECT_EQ(marked(lesson, "tq_trans"), "r14");

  // Ticks within the same segment write nothing to either list.
  const auto tocWrites = lesson.document("tq_toc")->writes();
  const auto transWrites = lesson.document("tq_trans")->writes();
  lesson.clock.advance(1000);
  EXPECT_EQ(lesson.document("tq_toc")->writes(), tocWrites);
  EXPECT_EQ(lesson.document("tq_trans")->writes(), transWrites);
}

TEST(StartVelisk, APlayerThatCannotPlayFailsAfterTheFlagIsSet) {
  onFreshThread([] {
    LessonControl lesson("spine_tick");
    const auto noControls = std::make_shared<ScriptedPlayer>(false);
    try {
      lesson.control.startVelisk(lesson.windowRef(), Player(noControls));
      ADD_FAILURE() << "a player without controls was accepted";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::MemberNotFound);
    }
    EXPECT_TRUE(startedFlag());
    EXPECT_TRUE(lesson.control.state().Player.sameAs(Player(noControls)));
    EXPECT_EQ(lesson.control.timer().interval(), 0);
    EXPECT_THROW(lesson.top->get("tqStarted"), Error);
  });
}

TEST(StartVelisk, AgainRebindsAndRestartsTheCount) {
  LessonControl first("spine_tick");
  const Lesson second("spine_tick");
  const auto secondPlayer = std::make_shared<pagemodel::PlayerModel>(first.clock);
  first.start();
  first.clock.advance(300);
  first.control.startVelisk(second.windowRef(), Player(secondPlayer));
  const ControlState& state = first.control.state();
  EXPECT_TRUE(state.HostWindow.sameAs(second.windowRef()));
  EXPECT_TRUE(state.HostDocument.sameAs(second.documentRef()));
  EXPECT_TRUE(state.Player.sameAs(Player(secondPlayer)));
  EXPECT_EQ(secondPlayer->playCalls, 1);
  EXPECT_EQ(second.top->get("tqStarted"), Value(true));

  first.clock.advance(499);  // the tick due at 500 ms went with the first start
  EXPECT_EQ(marked(second, "tq_toc"), "");
  first.clock.advance(1);
  EXPECT_EQ(marked(second, "tq_toc"), "t0");
  EXPECT_EQ(marked(first, "tq_toc"), "");
}

TEST(Tick, RoundsThePositionHalfToEven) {
  LessonControl lesson("spine_tick");
  lesson.player->seek(12);
  lesson.start();
  const std::pair<const char*, const char*> expected[] = {
      {"t12", "r12"},  // 12.5 s
      {"t13", "r13"},  // 13 s
      {"t14", "r14"},  // 13.5 s
  };
  for (const auto& [toc, trans] : expected) {
    lesson.clock.advance(500);
    EXPECT_EQ(marked(lesson, "tq_toc"), toc);
    EXPECT_EQ(marked(lesson, "tq_trans"), trans);
  }
}

TEST(Tick, ReadsThePositionAfreshForEachList) {
  LessonControl lesson("spine_tick");
  const auto player = std::make_shared<ScriptedPlayer>(true, std::deque<double>{12.4, 13.6});
  lesson.control.startVelisk(lesson.windowRef(), Player(player));
  lesson.clock.advance(500);
  EXPECT_EQ(marked(lesson, "tq_toc"), "t12");
  EXPECT_EQ(marked(lesson, "tq_trans"), "r14");
}

// The lists found through their frames are kept between ticks; each of these
// changes between two ticks must show at the second.
TEST(Tick, FindsTheListsAfreshAfterTheirPagesChange) {
  LessonControl lesson("spine_tick");
  lesson.player->seek(12);
  lesson.start();
  lesson.clock.advance(500);
  ASSERT_EQ(marked(lesson, "tq_trans"), "r12");

  // A navigation replaces the frame's document.
  lesson.documentRef("tq_trans").setURL("toc.html");
  lesson.clock.advance(500);
  EXPECT_EQ(marked(lesson, "tq_trans"), "t13");

  // Another element, without segments, takes the list's id: the old list is
  // no longer marked as the player moves on to 14 s.
  const NodePtr list = lesson.node("tq_toc", "iText");
  ASSERT_EQ(marked(lesson, "tq_toc"), "t13");
  list->removeAttribute("id");
  const NodePtr newList = lesson.node("tq_toc", "t0");
  newList->setAttribute("id", "iText");
  newList->setAttribute("tq_oldSegment", "");
  lesson.clock.advance(1000);
  EXPECT_EQ(lesson.document("tq_toc")->elementByUniqueId(list->attributeOr("tq_oldSegment"))->attributeOr("id"), "t13");
  EXPECT_EQ(marked(lesson, "tq_trans"), "t14");
}

TEST(Tick, AFailureEndsTheTickButNotTheTimer) {
  LessonControl lesson("spine_tick");
  int failures = 0;
  lesson.control.onTickFailure([&](const Error&) { ++failures; });
  const NodePtr tocList = lesson.node("tq_toc", "iText");
  tocList->removeAttribute("tq_oldSegment");
  lesson.start();
  lesson.clock.advance(500);
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(marked(lesson, "tq_trans"), "");  // the transcript comes after the table of contents
  EXPECT_EQ(lesson.control.timer().interval(), 500);

  tocList->setAttribute("tq_oldSegment", "");
  lesson.clock.advance(500);
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(marked(lesson, "tq_toc"), "t0");
  EXPECT_EQ(marked(lesson, "tq_trans"), "r0");
}

// A player whose position read throws a standard library exception, as a
// faulty host might.
class ForeignFailingPlayer : public Object, public std::enable_shared_from_this<ForeignFailingPlayer> {
 public:
  Value get(std::string_view member) override {
    if (member == "controls") return std::shared_ptr<Object>(shared_from_this());
    throw std::out_of_range("position lost");
  }
  void put(std::string_view, const Value&) override {}
  Value call(std::string_view, std::span<const Value>) override { return {}; }
  std::string typeName() const override { return "ForeignFailingPlayer"; }
  bool sameAs(const Object& other) const override { return this == &other; }
};

TEST(Tick, AForeignHostExceptionEndsTheTickAsAHostError) {
  LessonControl lesson("spine_tick");
  std::vector<std::string> failures;
  lesson.control.onTickFailure([&](const Error& e) {
    failures.push_back(std::to_string(static_cast<int>(e.code())) + " " + e.what());
  });
  lesson.control.startVelisk(lesson.windowRef(), Player(std::make_shared<ForeignFailingPlayer>()));
  lesson.clock.advance(1000);  // escaping the timer, it would end the test here
  EXPECT_EQ(failures, std::vector<std::string>(2, "440 position lost"));
  EXPECT_EQ(lesson.control.timer().interval(), 500);
}

TEST(Tick, APageWithoutTheTableOfContentsFrameIsNeverMarked) {
  LessonControl lesson("spine_no_toc");
  std::vector<ErrorCode> failures;
  lesson.control.onTickFailure([&](const Error& e) { failures.push_back(e.code()); });
  lesson.start();
  const auto transWrites = lesson.document("tq_trans")->writes();
  lesson.clock.advance(1500);
  EXPECT_EQ(failures, std::vector<ErrorCode>(3, ErrorCode::MemberNotFound));
  EXPECT_EQ(marked(lesson, "tq_trans"), "");
  EXPECT_EQ(marked(lesson, "toc"), "");
  EXPECT_EQ(lesson.document("tq_trans")->writes(), transWrites);
  EXPECT_EQ(lesson.control.timer().interval(), 500);
}

// The list is found before the position is read, so a missing list is the
// failure a tick reports even when the player fails too.
TEST(Tick, AMissingListFailsBeforeAFailingPlayer) {
  LessonControl lesson("spine_no_toc");
  std::vector<std::string> failures;
  lesson.control.onTickFailure([&](const Error& e) { failures.emplace_back(e.what()); });
  // A player with controls but no position.
  lesson.control.startVelisk(lesson.windowRef(), Player(std::make_shared<ScriptedPlayer>(true)));
  lesson.clock.advance(500);
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("tq_toc"), std::string::npos) << failures[0];
}

}  // namespace
}  // namespace reVoziz
