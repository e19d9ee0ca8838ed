#include "core/quiet_ticks.h"

#include <algorithm>

#include "core/player.h"
#include "core/skip_failure.h"

namespace reVoziz {

bool stillQuiet(const QuietTicks& quiet, Platform& platform) {
  const bool stampsHold = std::all_of(quiet.documents.begin(), quiet.documents.end(),
                                      [&](const QuietTicks::Stamped& d) {
                                        return platform.changeStampOf(d.document) == d.stamp;
                                      });
  if (!stampsHold) return false;
  bool inside = false;
  // A position the tick would not take as a number, or fail to read, is for
  // the tick to handle.
  skipFailure([&] {
    const Value position = Player(quiet.player).controls().positionValue();
    inside = position.isNumber() && quiet.positions.contains(position.toNumber());
  });
  return inside;
}

}  // namespace reVoziz
