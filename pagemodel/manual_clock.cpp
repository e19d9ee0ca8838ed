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
