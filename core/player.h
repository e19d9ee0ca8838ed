#pragma once
// The media player as the control uses it.

#include <cstdint>

#include "core/host_ref.h"

namespace reVoziz {

// The player's `controls` member.
class PlayerControls : public HostRef {
 public:
  using HostRef::HostRef;
  // currentPosition, in seconds.
  double currentPosition() const;
  // currentPosition as the host gives it, before any coercion.
  Value positionValue() const;
  void setCurrentPosition(std::int32_t seconds) const;
  void play() const;
};

class Player : public HostRef {
 public:
  using HostRef::HostRef;
  PlayerControls controls() const;
  // The player's size on the page, as text whose leading number is pixels.
  Value width() const;
  Value height() const;
};

}  // namespace reVoziz
