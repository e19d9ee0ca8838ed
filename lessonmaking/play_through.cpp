#include "lessonmaking/play_through.h"

#include <cmath>
#include <map>

#include "control/tq.h"
#include "core/error.h"
#include "core/rounding.h"
#include "core/time_code.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"
#include "pagemodel/player_model.h"
#include "pagemodel/window_model.h"

namespace reVoziz::lessonmaking {
namespace {

// How long the player, playing at its normal rate, takes from `from` to `to` seconds.
std::int64_t msUntil(double from, double to) { return static_cast<std::int64_t>(std::ceil((to - from) * 1000)); }

}  // namespace

std::vector<TickFailure> playThrough(const std::shared_ptr<pagemodel::WindowModel>& top, double until,
                                     FileSystem& files) {
  pagemodel::ManualClock clock;
  pagemodel::ModelPlatform platform(clock, files);
  auto player = std::make_shared<pagemodel::PlayerModel>(clock);
  tq control(platform);
  std::vector<TickFailure> failures;
  std::map<std::string, std::size_t> byError;
  const auto describe = [](const Error& e) { return std::to_string(static_cast<int>(e.code())) + ' ' + e.what(); };
  control.onTickFailure([&](const Error& e) {
    const auto [it, fresh] = byError.try_emplace(describe(e), failures.size());
    if (fresh) failures.push_back({secondsToTime(toInt32HalfEven(player->position())), it->first, 0});
    ++failures[it->second].ticks;
  });
  try {
    control.startVelisk(Window(std::shared_ptr<Object>(top)), Player(player));
  } catch (const Error& e) {
    return {{"00:00:00", describe(e), 0}};
  }
  // The timer stops only when the page stops it; a minute without a tick ends the run too.
  constexpr std::int64_t kLongestWait = 60'000;
  // Between segment boundaries the control rests; those ticks pass at once, so
  // the run costs what the lesson's markings do, not what its length does.
  while (player->position() < until) {
    clock.passRestedTicksBy(clock.now() + msUntil(player->position(), until));
    if (player->position() >= until || !clock.fireNextTickBy(clock.now() + kLongestWait)) break;
  }
  return failures;
}

}  // namespace reVoziz::lessonmaking
