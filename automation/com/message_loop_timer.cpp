// Timer on the thread's message loop: a thread timer whose WM_TIMER the
// apartment's own loop dispatches, so a tick runs between calls, never inside one.

#include <map>

#include <windows.h>

#include "automation/com/windows_platform.h"

namespace reVoziz::com {
namespace {

class MessageLoopTimer;

// Thread timers of this thread by their system id; an apartment-threaded
// control lives on one thread.
thread_local std::map<UINT_PTR, MessageLoopTimer*> running;

class MessageLoopTimer : public Timer {
 public:
  explicit MessageLoopTimer(const int& callsUnderWay) : callsUnderWay_(callsUnderWay) {}
  ~MessageLoopTimer() override { stop(); }

  void setInterval(std::int32_t ms) override {
    stop();
    interval_ = ms;
    if (ms <= 0) return;
    id_ = SetTimer(nullptr, 0, static_cast<UINT>(ms), &MessageLoopTimer::fire);
    if (id_) running[id_] = this;
  }
  std::int32_t interval() const override { return interval_; }
  void onTick(std::function<void()> tick) override { tick_ = std::move(tick); }

 private:
  static void CALLBACK fire(HWND, UINT, UINT_PTR id, DWORD) {
    const auto it = running.find(id);
    if (it == running.end()) return;
    MessageLoopTimer& timer = *it->second;
    if (!timer.tick_ || timer.callsUnderWay_ != 0) return;
    // Nothing may unwind into DispatchMessage: a tick that throws ends there,
    // as a failing tick does, and the next one starts afresh.
    try {
      timer.tick_();
    } catch (...) {
    }
  }
  void stop() {
    if (!id_) return;
    KillTimer(nullptr, id_);
    running.erase(id_);
    id_ = 0;
  }

  const int& callsUnderWay_;
  std::int32_t interval_ = 0;
  UINT_PTR id_ = 0;
  std::function<void()> tick_;
};

}  // namespace

std::unique_ptr<Timer> WindowsPlatform::createTimer() { return std::make_unique<MessageLoopTimer>(calls_); }

}  // namespace reVoziz::com
