// The simulated player and the manual clock that drives it and the timers.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "core/player.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/player_model.h"

namespace reVoziz {
namespace {

TEST(PlayerModel, PositionFollowsTheClockWhilePlayingAndSeeksMoveIt) {
  pagemodel::ManualClock clock;
  const auto model = std::make_shared<pagemodel::PlayerModel>(clock);
  const PlayerControls controls = Player(model).controls();
  clock.advance(2000);
  EXPECT_EQ(controls.currentPosition(), 0.0);  // not playing yet
  controls.play();
  clock.advance(1500);
  EXPECT_EQ(controls.currentPosition(), 1.5);
  controls.setCurrentPosition(30);
  clock.advance(250);
  EXPECT_EQ(controls.currentPosition(), 30.25);

  model->pause();
  clock.advance(1000);
  EXPECT_EQ(controls.currentPosition(), 30.25);
  controls.setCurrentPosition(-4);
  EXPECT_EQ(model->position(), 0.0);
  EXPECT_EQ(model->playCalls, 1);
  EXPECT_EQ(model->seeks, (std::vector<double>{30, -4}));
}

class ManualClockTest : public ::testing::Test {
 protected:
  pagemodel::ManualClock clock;
  std::vector<std::string> ticks;
  std::unique_ptr<Timer> timer(const std::string& name, std::int32_t interval) {
    auto t = clock.createTimer();
    t->onTick([this, name] { ticks.push_back(name + "@" + std::to_string(clock.now())); });
    t->setInterval(interval);
    return t;
  }
};

TEST_F(ManualClockTest, AdvanceFiresDueTicksInOrder) {
  const auto a = timer("a", 300);
  const auto b = timer("b", 500);
  clock.advance(1500);
  // Ties go to the timer created first.
  EXPECT_EQ(ticks, (std::vector<std::string>{"a@300", "b@500", "a@600", "a@900", "b@1000", "a@1200",
                                             "a@1500", "b@1500"}));
  EXPECT_FALSE(clock.fireNextTickBy(1700));
  EXPECT_TRUE(clock.fireNextTickBy(1800));
  EXPECT_EQ(ticks.back(), "a@1800");
  EXPECT_THROW(clock.advance(-1), Error);  // time does not run back
  EXPECT_EQ(clock.now(), 1800);
}

TEST_F(ManualClockTest, IntervalZeroStopsAndANewIntervalRestartsTheCount) {
  const auto a = timer("a", 500);
  clock.advance(400);
  a->setInterval(500);  // due at 900 now, not at 500
  clock.advance(499);
  EXPECT_TRUE(ticks.empty());
  clock.advance(1);
  EXPECT_EQ(ticks, (std::vector<std::string>{"a@900"}));
  a->setInterval(0);
  clock.advance(5000);
  EXPECT_EQ(ticks.size(), 1u);

  // A tick may reschedule or stop its own timer.
  a->onTick([&] {
    ticks.push_back(std::to_string(clock.now()));
    a->setInterval(ticks.size() < 3 ? 200 : 0);
  });
  a->setInterval(100);
  clock.advance(2000);
  EXPECT_EQ(ticks, (std::vector<std::string>{"a@900", "6000", "6200"}));
}

// Ticks falling due while a rest holds are skipped, and time and the schedule
// go on as if they had run. A broken rest, an empty one or a new interval
// ends it; a timer without the test ticks regardless.
TEST_F(ManualClockTest, TicksRestWhileTheConditionHolds) {
  bool holds = true;
  int asked = 0;
  const auto resting = clock.createTimer([&](const QuietTicks&) {
    ++asked;
    return holds;
  });
  resting->onTick([&] { ticks.push_back(std::to_string(clock.now())); });
  resting->setInterval(100);
  const auto regardless = timer("r", 250);
  regardless->restWhile(QuietTicks{});

  clock.advance(100);
  resting->restWhile(QuietTicks{});
  clock.advance(300);
  EXPECT_EQ(ticks, (std::vector<std::string>{"100", "r@250"}));
  EXPECT_EQ(clock.restedTicks(), 3u);
  EXPECT_EQ(asked, 3);

  holds = false;
  clock.advance(100);
  holds = true;
  clock.advance(100);  // the rest broke at 500 and is over
  EXPECT_EQ(ticks, (std::vector<std::string>{"100", "r@250", "500", "r@500", "600"}));

  resting->restWhile(QuietTicks{});
  clock.advance(100);
  resting->restWhile(std::nullopt);
  clock.advance(100);
  resting->restWhile(QuietTicks{});
  resting->setInterval(50);
  clock.advance(50);
  EXPECT_EQ(ticks, (std::vector<std::string>{"100", "r@250", "500", "r@500", "600", "r@750", "800", "850"}));
  EXPECT_EQ(clock.restedTicks(), 4u);
}

// Passing rested ticks at once leaves what firing them one by one would:
// the same count, time at the last of them, and the first loud tick next.
TEST_F(ManualClockTest, RestedTicksPassAtOnceUpToTheFirstLoudOne) {
  const struct {
    const char* name;
    std::int64_t quietBefore;  // the rest holds while the time is before this
    std::int64_t limit;
    std::int32_t otherInterval;  // another timer's, 0 for none
    std::int64_t passedTo;
    std::uint64_t rested;
  } cases[] = {
      {"to the first loud tick", 1050, 100'000, 0, 1000, 10},
      {"to the limit", 1'000'000'000, 550, 0, 500, 5},
      {"not past another timer's tick", 1'000'000'000, 100'000, 350, 300, 3},
      {"nothing when the next tick is loud", 50, 100'000, 0, 0, 0},
      {"a long stretch", 3'600'000'001, 4'000'000'000, 0, 3'600'000'000, 36'000'000},
  };
  for (const auto& c : cases) {
    pagemodel::ManualClock clock;
    const auto resting = clock.createTimer([&](const QuietTicks&) { return clock.now() < c.quietBefore; });
    std::vector<std::int64_t> fired;
    resting->onTick([&] { fired.push_back(clock.now()); });
    resting->setInterval(100);
    resting->restWhile(QuietTicks{});
    std::unique_ptr<Timer> other;
    if (c.otherInterval > 0) {
      other = clock.createTimer();
      other->setInterval(c.otherInterval);
    }
    clock.passRestedTicksBy(c.limit);
    EXPECT_EQ(clock.now(), c.passedTo) << c.name;
    EXPECT_EQ(clock.restedTicks(), c.rested) << c.name;
    EXPECT_TRUE(fired.empty()) << c.name;
    if (c.otherInterval == 0 && c.quietBefore < c.limit) {
      clock.fireNextTickBy(c.limit);
      EXPECT_EQ(fired, (std::vector<std::int64_t>{c.passedTo + 100})) << c.name;
    }
  }
}

TEST_F(ManualClockTest, ATickMayDestroyItsOwnTimer) {
  std::unique_ptr<Timer> owned = timer("owned", 100);
  const auto other = timer("other", 150);
  // The tick reads its own state after destroying the timer that held it.
  owned->onTick([&, name = std::string(64, 'x')] {
    owned.reset();
    ticks.push_back(name.substr(0, 1));
  });
  clock.advance(300);
  EXPECT_EQ(owned, nullptr);
  EXPECT_EQ(ticks, (std::vector<std::string>{"x", "other@150", "other@300"}));
}

}  // namespace
}  // namespace reVoziz
