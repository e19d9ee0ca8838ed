// The test a timer makes before a tick the control left a rest for: it must
// hold only while a tick would find everything as the quiet one did, and
// never fail itself.

#include "core/quiet_ticks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "support/lesson.h"
#include "support/value_player.h"

namespace reVoziz {
namespace {

using testing::ValuePlayer;

struct QuietPage : testing::Lesson {
  pagemodel::ManualClock clock;
  pagemodel::ModelPlatform platform{clock};
  std::shared_ptr<ValuePlayer> player = std::make_shared<ValuePlayer>();
  QuietTicks quiet;

  // Resting on both frames' documents as they are, between 12 s and 13 s.
  QuietPage() : Lesson("spine_tick") {
    for (const char* frame : {"tq_toc", "tq_trans"}) {
      quiet.documents.push_back({document(frame), *platform.changeStamp(*document(frame))});
    }
    quiet.player = player;
    quiet.positions = realsRoundingInto(12, 13);
  }
  bool stillQuietAt(const Value& position) {
    player->position = position;
    return stillQuiet(quiet, platform);
  }
};

TEST(StillQuiet, HoldsOnlyForANumberThatRoundsIntoTheSpan) {
  QuietPage page;
  EXPECT_TRUE(page.stillQuietAt(12.0));
  EXPECT_TRUE(page.stillQuietAt(std::int32_t{13}));
  EXPECT_TRUE(page.stillQuietAt(11.5));   // rounds to 12
  EXPECT_FALSE(page.stillQuietAt(13.5));  // rounds to 14
  EXPECT_FALSE(page.stillQuietAt(std::int32_t{14}));
  // What the tick would coerce, or fail on, is not a number here.
  EXPECT_FALSE(page.stillQuietAt("12"));
  EXPECT_FALSE(page.stillQuietAt(true));
  EXPECT_FALSE(page.stillQuietAt(Value(Null{})));
  EXPECT_FALSE(page.stillQuietAt(Value()));
  EXPECT_FALSE(page.stillQuietAt(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_FALSE(page.stillQuietAt(HUGE_VAL));
}

TEST(StillQuiet, AFailingReadOrAMissingPlayerEndsTheRestWithoutFailing) {
  QuietPage page;
  page.player->failure = ValuePlayer::Failure::Error;
  EXPECT_FALSE(page.stillQuietAt(12.0));
  page.player->failure = ValuePlayer::Failure::Foreign;
  EXPECT_FALSE(page.stillQuietAt(12.0));
  page.player->failure = ValuePlayer::Failure::None;
  page.quiet.player = nullptr;
  EXPECT_FALSE(page.stillQuietAt(12.0));
}

TEST(StillQuiet, EndsWhenAnyDocumentChangesOrHasNoStamp) {
  {
    QuietPage page;
    page.node("tq_trans", "r12")->setAttribute("tq_start", "00:00:11");
    EXPECT_FALSE(page.stillQuietAt(12.0));
  }
  {
    QuietPage page;
    page.node("tq_toc", "t12")->setAttribute("class", "other");
    EXPECT_FALSE(page.stillQuietAt(12.0));
  }
  {
    QuietPage page;
    page.quiet.documents.push_back({page.player, 0});  // not a document: no stamp
    EXPECT_FALSE(page.stillQuietAt(12.0));
  }
}

}  // namespace
}  // namespace reVoziz
