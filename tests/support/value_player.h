#pragma once
// A paused player for tests: its position is whatever value a test sets, its
// reads are counted, and reading it or playing may fail.

#include <memory>
#include <stdexcept>
#include <string>

#include "core/error.h"
#include "core/object.h"
#include "core/value.h"

namespace reVoziz::testing {

class ValuePlayer : public Object, public std::enable_shared_from_this<ValuePlayer> {
 public:
  enum class Failure { None, Error, Foreign };
  explicit ValuePlayer(Value position = {}) : position(std::move(position)) {}

  // Its controls are the player itself.
  Value get(std::string_view member) override {
    if (member == "controls") return std::shared_ptr<Object>(shared_from_this());
    if (member != "currentPosition") throw missing(member);
    ++positionReads;
    if (failure == Failure::Error) throw missing(member);
    if (failure == Failure::Foreign) throw std::runtime_error("position lost");
    return position;
  }
  void put(std::string_view member, const Value& value) override {
    if (member != "currentPosition") throw missing(member);
    position = value;
  }
  Value call(std::string_view method, std::span<const Value>) override {
    if (method != "play" || playFails) throw missing(method);
    return {};
  }
  std::string typeName() const override { return "ValuePlayer"; }
  bool sameAs(const Object& other) const override { return this == &other; }

  Value position;
  Failure failure = Failure::None;
  bool playFails = false;
  int positionReads = 0;

 private:
  static Error missing(std::string_view member) {
    return Error(ErrorCode::MemberNotFound, "no member " + std::string(member));
  }
};

}  // namespace reVoziz::testing
