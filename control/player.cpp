#include "control/player.h"

namespace reVoziz {

double PlayerControls::currentPosition() const { return get("currentPosition").toNumber(); }
void PlayerControls::setCurrentPosition(std::int32_t seconds) const {
  put("currentPosition", seconds);
}
void PlayerControls::play() const { call("play"); }

PlayerControls Player::controls() const { return PlayerControls(get("controls")); }
Value Player::width() const { return get("width"); }
Value Player::height() const { return get("height"); }

}  // namespace reVoziz
