#pragma once
// Simulated time for the page model. Timers created here tick only when a
// test or tool advances the clock, in the order they fall due, unless the
// control left a rest that still holds.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/platform.h"

namespace reVoziz::pagemodel {

class ManualClock {
 public:
  ManualClock() = default;
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;

  std::int64_t now() const { return now_; }
  // Moves time forward by `ms`, firing every tick that falls due on the way.
  void advance(std::int64_t ms);
  // Fires the next tick if it falls due at or before `limit` (absolute ms),
  // moving time to it. Returns whether a tick fired.
  bool fireNextTickBy(std::int64_t limit);
  // Passes at once the ticks due by `limit` (absolute ms) that the next timer
  // would skip for its rest, as firing them one by one would, and before any
  // other timer's tick: a long quiet stretch costs a few looks, not a tick each.
  void passRestedTicksBy(std::int64_t limit);
  // Moves time to `when` without passing any due tick (none may be due before).
  void advanceTo(std::int64_t when);

  // A timer that skips its ticks while the rest the control asked for holds
  // by `stillQuiet`; without that test, it ticks regardless.
  std::unique_ptr<Timer> createTimer(std::function<bool(const QuietTicks&)> stillQuiet = {});
  // How many due ticks were skipped for a rest, for tests and tools.
  std::uint64_t restedTicks() const { return restedTicks_; }

 private:
  class ClockTimer;
  ClockTimer* nextDue() const;

  std::int64_t now_ = 0;
  std::uint64_t restedTicks_ = 0;
  std::vector<ClockTimer*> timers_;  // in creation order, which breaks ties
};

}  // namespace reVoziz::pagemodel
