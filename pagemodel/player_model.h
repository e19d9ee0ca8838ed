#pragma once
// A simulated media player on the manual clock: while playing, its position
// advances with the clock at its rate.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/object.h"

namespace reVoziz::pagemodel {

class ManualClock;

class PlayerModel : public Object, public std::enable_shared_from_this<PlayerModel> {
 public:
  explicit PlayerModel(const ManualClock& clock, double rate = 1.0) : clock_(clock), rate_(rate) {}

  double position() const;
  void seek(double seconds);
  void play();
  void pause();
  bool playing() const { return playing_; }

  // The player's size as the page gives it, text with a leading number.
  std::string width = "320";
  std::string height = "240";
  // What the control asked of the player.
  int playCalls = 0;
  std::vector<double> seeks;

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override { return "IWMPPlayer4"; }
  bool sameAs(const Object& other) const override { return this == &other; }

 private:
  const ManualClock& clock_;
  double rate_;
  double startPosition_ = 0;
  std::int64_t startTime_ = 0;
  bool playing_ = false;
};

}  // namespace reVoziz::pagemodel
