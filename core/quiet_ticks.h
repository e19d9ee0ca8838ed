#pragma once
// Whether the ticks may still rest: the test a timer makes before each tick
// that a quiet tick left a condition for, instead of entering the control.

#include "core/platform.h"

namespace reVoziz {

// Every listed document still has its stamp, and the player's position is a
// number inside the positions. Any failing read answers false, so that the
// tick runs and meets the failure itself; it never throws.
bool stillQuiet(const QuietTicks& quiet, Platform& platform);

}  // namespace reVoziz
