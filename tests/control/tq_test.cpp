#include "control/tq.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/started_flag.h"
#include "support/lesson.h"
#include "support/value_player.h"

namespace reVoziz {
namespace {

using testing::Lesson;
using testing::LessonControl;
using testing::onFreshThread;
using testing::ValuePlayer;
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
  int successes = 0;
  lesson.control.onTickFailure([&](const Error&) { ++failures; });
  lesson.control.onTickSuccess([&] { ++successes; });
  const NodePtr tocList = lesson.node("tq_toc", "iText");
  tocList->removeAttribute("tq_oldSegment");
  lesson.start();
  lesson.clock.advance(500);
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(successes, 0);
  EXPECT_EQ(marked(lesson, "tq_trans"), "");  // the transcript comes after the table of contents
  EXPECT_EQ(lesson.control.timer().interval(), 500);

  tocList->setAttribute("tq_oldSegment", "");
  lesson.clock.advance(500);
  EXPECT_EQ(failures, 1);
  EXPECT_EQ(successes, 1);
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

// How the page model's timer treats the rest a quiet tick leaves: honours
// it, skips every tick while one is set, ticks regardless, or ticks
// regardless and keeps every rest it was given.
enum class Rest { Honoured, Forced, Ignored, Recorded };

class RecordingTimer : public Timer {
 public:
  RecordingTimer(std::unique_ptr<Timer> timer, std::vector<std::optional<QuietTicks>>& rests)
      : timer_(std::move(timer)), rests_(rests) {}
  void setInterval(std::int32_t ms) override { timer_->setInterval(ms); }
  std::int32_t interval() const override { return timer_->interval(); }
  void onTick(std::function<void()> tick) override { timer_->onTick(std::move(tick)); }
  void restWhile(std::optional<QuietTicks> quiet) override { rests_.push_back(std::move(quiet)); }

 private:
  std::unique_ptr<Timer> timer_;
  std::vector<std::optional<QuietTicks>>& rests_;
};

// The page model's platform, counting the change stamps taken, with a timer
// that honours the rest, skips every tick while one is set, or ticks regardless.
class RestPlatform : public pagemodel::ModelPlatform {
 public:
  RestPlatform(pagemodel::ManualClock& clock, Rest rest) : ModelPlatform(clock), clock_(clock), rest_(rest) {}
  std::unique_ptr<Timer> createTimer() override {
    if (rest_ == Rest::Forced) return clock_.createTimer([](const QuietTicks&) { return true; });
    if (rest_ == Rest::Ignored) return clock_.createTimer();
    if (rest_ == Rest::Recorded) return std::make_unique<RecordingTimer>(clock_.createTimer(), rests);
    return ModelPlatform::createTimer();
  }
  std::optional<std::uint64_t> changeStamp(const Object& node) override {
    ++stampsTaken;
    // A window document that changes between any two looks at it.
    if (restlessDocument == &node) return ++restlessStamp;
    return ModelPlatform::changeStamp(node);
  }
  int stampsTaken = 0;
  const Object* restlessDocument = nullptr;
  std::uint64_t restlessStamp = 0;
  std::vector<std::optional<QuietTicks>> rests;

 private:
  pagemodel::ManualClock& clock_;
  Rest rest_;
};

struct QuietLesson : Lesson {
  pagemodel::ManualClock clock;
  RestPlatform platform;
  std::shared_ptr<ValuePlayer> player = std::make_shared<ValuePlayer>(15.0);
  tq control{platform};
  int failures = 0;

  explicit QuietLesson(Rest rest) : Lesson("tick_changes"), platform(clock, rest) {
    control.onTickFailure([this](const Error&) { ++failures; });
  }
  // Started at 15 s; the first tick marks, the second finds nothing to do and
  // leaves the rest, which the third meets.
  void startQuiet() {
    control.startVelisk(windowRef(), Player(player));
    clock.advance(1500);
  }
  const NodePtr at(std::string_view id) const { return node("tq_trans", id); }
};

// Every change between two ticks shows at the next tick with the rest in
// place; with a rest that holds whatever happens, none of them does.
TEST(QuietTick, EveryChangeShowsAtTheNextTickDespiteTheRest) {
  struct Case {
    const char* what;
    std::function<void(QuietLesson&)> change;
    std::string after;  // the transcript's marked segment, or what `observe` sees
    std::function<std::string(QuietLesson&)> observe = nullptr;
  };
  const auto toc = [](QuietLesson& l) { return marked(l, "tq_toc"); };
  const auto s10Look = [](QuietLesson& l) { return l.at("s10")->attributeOr("style"); };
  const Case cases[] = {
      {"position", [](QuietLesson& l) { l.player->position = 25.0; }, "s20"},
      {"position near the end", [](QuietLesson& l) { l.player->position = 19.5; }, "s20"},
      {"class", [](QuietLesson& l) { l.at("s10")->setAttribute("class", "Segment"); }, "s0"},
      {"inline style", [](QuietLesson& l) { l.element("tq_trans", "s10").style().setDisplay("none"); }, "s0"},
      {"tq_style rule",
       [](QuietLesson& l) {
         l.control.addStyle(l.documentRef("tq_trans").styleSheet("tq_style"), "#s10", "display", "none");
       },
       "s0"},
      {"text gives height", [](QuietLesson& l) { l.at("s12")->appendChild(pagemodel::Node::makeText("Twelve")); },
       "s12"},
      {"added segment",
       [](QuietLesson& l) {
         l.element("tq_trans", "s12").setOuterHTML("<div class='segment' id='s13' tq_start='0:13'>Thirteen</div>");
       },
       "s13"},
      {"removed segment",  // with the marking, which would fail every later one
       [](QuietLesson& l) {
         l.at("s10")->detach();
         l.element("tq_trans", "iText").setProperty("tq_oldSegment", "");
       },
       "s0"},
      {"tq_start edit", [](QuietLesson& l) { l.at("s10")->setAttribute("tq_start", "0:16"); }, "s0"},
      {"tq_start as a property", [](QuietLesson& l) { l.element("tq_trans", "s10").setProperty("tq_start", "0:16"); },
       "s0"},
      {"tq_mode", [](QuietLesson& l) { l.at("iText")->setAttribute("tq_mode", "Single"); }, "s12"},
      {"the marking forgotten", [](QuietLesson& l) { l.element("tq_trans", "iText").setProperty("tq_oldSegment", ""); },
       "s10"},
      {"refresh",
       [](QuietLesson& l) {
         l.at("iText")->setAttribute("tq_current", "color: green");
         l.at("iText")->setAttribute("tq_refresh", "1");
       },
       "color: green", s10Look},
      {"navigation", [](QuietLesson& l) { l.documentRef("tq_trans").setURL("toc.html"); }, "t10"},
      {"the other list", [](QuietLesson& l) { l.node("tq_toc", "t10")->setAttribute("class", "x"); }, "t0", toc},
  };
  for (const Rest rest : {Rest::Honoured, Rest::Forced}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (rest == Rest::Forced ? ", rest forced" : ""));
      QuietLesson lesson(rest);
      const auto observe = [&] { return c.observe ? c.observe(lesson) : marked(lesson, "tq_trans"); };
      lesson.startQuiet();
      ASSERT_EQ(lesson.clock.restedTicks(), 2u);
      c.change(lesson);
      const std::string changed = observe();
      ASSERT_NE(changed, c.after);
      lesson.clock.advance(500);
      EXPECT_EQ(observe(), rest == Rest::Forced ? changed : c.after);
      EXPECT_EQ(lesson.failures, 0);
    }
  }
}

// A resting tick reads only the stamps and the position it rests on; one
// that enters the control reads the position once for each list.
TEST(QuietTick, ARestingTickDoesNotEnterTheControl) {
  for (const Rest rest : {Rest::Honoured, Rest::Ignored}) {
    SCOPED_TRACE(rest == Rest::Honoured ? "honoured" : "ignored");
    QuietLesson lesson(rest);
    lesson.startQuiet();
    const auto writes = lesson.document("tq_trans")->writes() + lesson.document("tq_toc")->writes();
    const auto rested = lesson.clock.restedTicks();
    lesson.player->positionReads = 0;
    lesson.platform.stampsTaken = 0;
    lesson.clock.advance(5000);
    if (rest == Rest::Honoured) {
      EXPECT_EQ(lesson.clock.restedTicks() - rested, 10u);
      EXPECT_EQ(lesson.player->positionReads, 10);
      EXPECT_EQ(lesson.platform.stampsTaken, 30);  // the window's and both frames' documents
    } else {
      EXPECT_EQ(lesson.clock.restedTicks(), 0u);
      EXPECT_EQ(lesson.player->positionReads, 20);
      EXPECT_GT(lesson.platform.stampsTaken, 30);
    }
    EXPECT_EQ(lesson.document("tq_trans")->writes() + lesson.document("tq_toc")->writes(), writes);
    EXPECT_EQ(marked(lesson, "tq_trans"), "s10");
  }
}

// What each tick tells its timer: a rest on the stamps it relied on, or that
// its own marking left, and the positions at which both lists would be
// marked as they are.
TEST(QuietTick, EachTickTellsItsTimerWhetherTheNextMayRest) {
  QuietLesson lesson(Rest::Recorded);
  auto& rests = lesson.platform.rests;
  const auto stampOf = [&](std::string_view frame) { return *lesson.platform.changeStamp(*lesson.document(frame)); };
  lesson.control.startVelisk(lesson.windowRef(), Player(lesson.player));
  lesson.clock.advance(1000);
  ASSERT_EQ(rests.size(), 3u);
  EXPECT_FALSE(rests[0]);  // the start
  ASSERT_TRUE(rests[1]);   // the tick that marked
  ASSERT_TRUE(rests[2]);
  const QuietTicks& quiet = *rests[2];
  ASSERT_EQ(quiet.documents.size(), 3u);
  EXPECT_EQ(quiet.documents[0].document, lesson.document(""));
  EXPECT_EQ(quiet.documents[1].document, lesson.document("tq_toc"));
  EXPECT_EQ(quiet.documents[2].document, lesson.document("tq_trans"));
  for (const auto& [document, stamp] : quiet.documents) {
    EXPECT_EQ(stamp, *lesson.platform.changeStamp(*document));
  }
  for (std::size_t d = 0; d < quiet.documents.size(); ++d) {
    EXPECT_EQ(rests[1]->documents[d].stamp, quiet.documents[d].stamp);
  }
  EXPECT_EQ(quiet.player, lesson.player);
  // Both lists give the same answer from 10 s up to 19 s.
  EXPECT_TRUE(quiet.positions.contains(9.5));
  EXPECT_FALSE(quiet.positions.contains(9.49));
  EXPECT_TRUE(quiet.positions.contains(19.49));
  EXPECT_FALSE(quiet.positions.contains(19.5));

  // A segment of the transcript at 12 s now counts: the rest narrows to the
  // positions both lists agree on.
  lesson.at("s12")->appendChild(pagemodel::Node::makeText("Twelve"));
  lesson.clock.advance(1000);
  ASSERT_EQ(rests.size(), 5u);
  ASSERT_TRUE(rests[3]);
  ASSERT_TRUE(rests[4]);
  EXPECT_EQ(rests[3]->documents[2].stamp, rests[4]->documents[2].stamp);
  EXPECT_FALSE(rests[4]->positions.contains(11.4));
  EXPECT_TRUE(rests[4]->positions.contains(11.6));
  EXPECT_EQ(rests[4]->documents[2].stamp, stampOf("tq_trans"));

  // The table of contents moves on at 18 s now; it stays marked as it was.
  lesson.node("tq_toc", "t20")->setAttribute("tq_start", "0:18");
  lesson.clock.advance(500);
  ASSERT_EQ(rests.size(), 6u);
  ASSERT_TRUE(rests[5]);
  EXPECT_TRUE(rests[5]->positions.contains(17.4));
  EXPECT_FALSE(rests[5]->positions.contains(17.6));
  EXPECT_FALSE(rests[5]->positions.contains(11.4));
  EXPECT_EQ(rests[5]->documents[1].stamp, stampOf("tq_toc"));

  lesson.node("tq_toc", "iText")->removeAttribute("tq_oldSegment");
  lesson.clock.advance(500);
  EXPECT_EQ(lesson.failures, 1);
  ASSERT_EQ(rests.size(), 7u);
  EXPECT_FALSE(rests[6]);
}

// Lists found through a window document that changed in between rest on no
// one stamp of it.
TEST(QuietTick, NoRestWhenTheWindowChangedBetweenTheLists) {
  QuietLesson lesson(Rest::Recorded);
  lesson.platform.restlessDocument = lesson.document("").get();
  lesson.control.startVelisk(lesson.windowRef(), Player(lesson.player));
  lesson.clock.advance(1500);
  EXPECT_EQ(marked(lesson, "tq_trans"), "s10");
  const auto& rests = lesson.platform.rests;
  EXPECT_EQ(rests.size(), 4u);
  EXPECT_TRUE(std::none_of(rests.begin(), rests.end(), [](const auto& rest) { return rest.has_value(); }));
}

// A start ends the rest, even one that fails once it has bound the new player.
TEST(QuietTick, AStartEndsTheRestEvenWhenItFails) {
  QuietLesson lesson(Rest::Forced);
  lesson.startQuiet();
  // A start whose player cannot play fails after binding it.
  const auto second = std::make_shared<ValuePlayer>(25.0);
  second->playFails = true;
  EXPECT_THROW(lesson.control.startVelisk(lesson.windowRef(), Player(second)), Error);
  lesson.clock.advance(500);
  EXPECT_EQ(marked(lesson, "tq_trans"), "s20");
  EXPECT_EQ(lesson.clock.restedTicks(), 2u);
  lesson.clock.advance(1000);  // the marking leaves the next ticks a rest
  EXPECT_EQ(lesson.clock.restedTicks(), 4u);
  lesson.control.startVelisk(lesson.windowRef(), Player(lesson.player));
  lesson.clock.advance(500);
  EXPECT_EQ(marked(lesson, "tq_trans"), "s10");
}

}  // namespace
}  // namespace reVoziz
