#pragma once
// A lesson played through on simulated time, for `lesson check`: which ticks
// of the control fail.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace reVoziz {
class FileSystem;
}

namespace reVoziz::pagemodel {
class WindowModel;
}

namespace reVoziz::lessonmaking {

struct TickFailure {
  std::string firstAt;  // the player's position at the first such tick, "HH:MM:SS"
  std::string error;    // "CODE MESSAGE"
  int ticks = 0;        // how many ticks failed this way
};

// Starts a control on `top` with a player at 0 s and runs every tick until the
// player is `until` seconds in; each kind of failure once, in order of first
// appearance. A control that cannot start gives one failure of 0 ticks. The
// control's platform reaches files through `files`.
std::vector<TickFailure> playThrough(const std::shared_ptr<pagemodel::WindowModel>& top, double until,
                                     FileSystem& files);

}  // namespace reVoziz::lessonmaking
