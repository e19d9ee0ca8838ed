#pragma once
// StartedFlag: one per thread, shared by every control of that thread, set by
// startVelisk and never cleared. The notes methods run only once it is set.

namespace reVoziz {

bool startedFlag();
void setStartedFlag();

// The one gate of the notes methods: before StartedFlag is set they return
// their empty result at once, without touching the event, the page or the player.
template <class Body>
auto whenStarted(Body&& body) -> decltype(body()) {
  using Result = decltype(body());
  if (!startedFlag()) return Result();  // also for methods without a result
  return body();
}

}  // namespace reVoziz
