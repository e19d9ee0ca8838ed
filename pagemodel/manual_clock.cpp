#include "pagemodel/manual_clock.h"

#include <algorithm>

#include "core/error.h"

namespace reVoziz::pagemodel {

class ManualClock::ClockTimer : public Timer {
 public:
  ClockTimer(ManualClock& clock, std::function<bool(const QuietTicks&)> stillQuiet)
      : clock_(clock), stillQuiet_(std::move(stillQuiet)) {
    clock_.timers_.push_back(this);
  }
  ~ClockTimer() override { std::erase(clock_.timers_, this); }

  void setInterval(std::int32_t ms) override {
    interval_ = std::max<std::int32_t>(ms, 0);
    due_ = clock_.now_ + interval_;
    rest_.reset();
  }
  std::int32_t interval() const override { return interval_; }
  void onTick(std::function<void()> tick) override { tick_ = std::move(tick); }
  void restWhile(std::optional<QuietTicks> quiet) override { rest_ = std::move(quiet); }

  bool running() const { return interval_ > 0; }
  std::int64_t due() const { return due_; }
  bool resting() const { return rest_ && stillQuiet_; }
  // Whether the rest would still hold at the tick `n` intervals after the due one.
  bool quietAt(std::int64_t n) {
    const std::int64_t saved = clock_.now_;
    clock_.now_ = due_ + n * interval_;
    const bool quiet = stillQuiet_(*rest_);
    clock_.now_ = saved;
    return quiet;
  }
  // Passes `n` due ticks as skipped, time moving to the last of them.
  void skip(std::int64_t n) {
    clock_.now_ = due_ + (n - 1) * interval_;
    due_ += n * interval_;
    clock_.restedTicks_ += static_cast<std::uint64_t>(n);
  }
  void fire() {
    due_ += interval_;  // a tick that resets the interval reschedules itself
    if (rest_ && stillQuiet_ && stillQuiet_(*rest_)) {
      ++clock_.restedTicks_;
      return;
    }
    // Once broken, a rest is over: the tick leaves a new one or none.
    rest_.reset();
    // A copy runs, so that a tick may destroy its own timer.
    if (const auto tick = tick_) tick();
  }

 private:
  ManualClock& clock_;
  std::function<bool(const QuietTicks&)> stillQuiet_;
  std::int32_t interval_ = 0;
  std::int64_t due_ = 0;
  std::function<void()> tick_;
  std::optional<QuietTicks> rest_;
};

ManualClock::ClockTimer* ManualClock::nextDue() const {
  ClockTimer* next = nullptr;
  for (ClockTimer* t : timers_) {
    if (t->running() && (!next || t->due() < next->due())) next = t;
  }
  return next;
}

bool ManualClock::fireNextTickBy(std::int64_t limit) {
  ClockTimer* next = nextDue();
  if (!next || next->due() > limit) return false;
  now_ = next->due();
  next->fire();
  return true;
}

void ManualClock::passRestedTicksBy(std::int64_t limit) {
  ClockTimer* next = nextDue();
  if (!next || !next->resting()) return;
  for (const ClockTimer* other : timers_) {
    if (other != next && other->running()) limit = std::min(limit, other->due() - 1);
  }
  if (next->due() > limit) return;
  const std::int64_t due = (limit - next->due()) / next->interval() + 1;
  // The rest holds over one run of ticks (the player only moves on), so the
  // last quiet one is found by doubling, then halving.
  if (!next->quietAt(0)) return;
  std::int64_t quiet = 1;  // ticks known quiet
  std::int64_t step = 1;
  while (quiet < due && next->quietAt(std::min(due, quiet + step) - 1)) {
    quiet = std::min(due, quiet + step);
    step *= 2;
  }
  // Unless all are quiet, the tick numbered `loud` from 1 is not.
  std::int64_t loud = std::min(due, quiet + step);
  while (quiet < due && loud - quiet > 1) {
    const std::int64_t mid = quiet + (loud - quiet) / 2;
    if (next->quietAt(mid - 1)) {
      quiet = mid;
    } else {
      loud = mid;
    }
  }
  next->skip(quiet);
}

void ManualClock::advance(std::int64_t ms) {
  if (ms < 0) throw Error(ErrorCode::InvalidArgument, "The clock cannot go back");
  const std::int64_t target = now_ + ms;
  while (fireNextTickBy(target)) {
  }
  now_ = target;
}

void ManualClock::advanceTo(std::int64_t when) {
  if (when < now_) throw Error(ErrorCode::InvalidArgument, "The clock cannot go back");
  const ClockTimer* next = nextDue();
  if (next && next->due() < when) {
    throw Error(ErrorCode::InvalidArgument, "A tick falls due before that time");
  }
  now_ = when;
}

std::unique_ptr<Timer> ManualClock::createTimer(std::function<bool(const QuietTicks&)> stillQuiet) {
  return std::make_unique<ClockTimer>(*this, std::move(stillQuiet));
}

}  // namespace reVoziz::pagemodel
