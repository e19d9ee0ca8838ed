#include "pagemodel/player_model.h"

#include "pagemodel/manual_clock.h"
#include "pagemodel/member_args.h"

namespace reVoziz::pagemodel {
namespace {

// The player's `controls`, sharing its state.
class PlayerControlsObject : public Object {
 public:
  explicit PlayerControlsObject(std::shared_ptr<PlayerModel> player) : player_(std::move(player)) {}
  Value get(std::string_view member) override {
    if (member == "currentPosition") return player_->position();
    throw memberNotFound(member);
  }
  void put(std::string_view member, const Value& value) override {
    if (member != "currentPosition") throw memberNotFound(member);
    player_->seeks.push_back(value.toNumber());
    player_->seek(value.toNumber());
  }
  Value call(std::string_view method, std::span<const Value>) override {
    if (method == "play") {
      ++player_->playCalls;
      player_->play();
    } else if (method == "pause") {
      player_->pause();
    } else {
      throw memberNotFound(method);
    }
    return {};
  }
  std::string typeName() const override { return "IWMPControls"; }
  bool sameAs(const Object& other) const override {
    const auto* o = dynamic_cast<const PlayerControlsObject*>(&other);
    return o && o->player_ == player_;
  }

 private:
  std::shared_ptr<PlayerModel> player_;
};

}  // namespace

double PlayerModel::position() const {
  if (!playing_) return startPosition_;
  return startPosition_ + static_cast<double>(clock_.now() - startTime_) / 1000.0 * rate_;
}

void PlayerModel::seek(double seconds) {
  startPosition_ = seconds < 0 ? 0 : seconds;
  startTime_ = clock_.now();
}

void PlayerModel::play() {
  if (playing_) return;
  startTime_ = clock_.now();
  playing_ = true;
}

void PlayerModel::pause() {
  startPosition_ = position();
  playing_ = false;
}

Value PlayerModel::get(std::string_view member) {
  if (member == "controls") {
    return std::shared_ptr<Object>(std::make_shared<PlayerControlsObject>(shared_from_this()));
  }
  if (member == "width") return width;
  if (member == "height") return height;
  throw memberNotFound(member);
}

void PlayerModel::put(std::string_view member, const Value& value) {
  if (member == "width") {
    width = value.toText();
  } else if (member == "height") {
    height = value.toText();
  } else {
    throw memberNotFound(member);
  }
}

Value PlayerModel::call(std::string_view method, std::span<const Value>) {
  throw memberNotFound(method);
}

}  // namespace reVoziz::pagemodel
