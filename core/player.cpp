#include "core/player.h"

namespace reVoziz {

double PlayerControls::currentPosition() const { return positionValue().toNumber(); }
Value PlayerControls::positionValue() const { return get("currentPosition"); }
void PlayerControls::setCurrentPosition(std::int32_t seconds) const {
  put("currentPosition", seconds);
}
void PlayerControls::play() const { call("play"); }

PlayerControls Player::controls() const { return PlayerControls(get("controls")); }
Value Player::width() const { return get("width"); }
Value Player::height() const { return get("height"); }

}  // namespace reVoziz
