#pragma once
// The browser side of the host boundary: one page object held as an
// emscripten::val. Every get, put and call goes through the host layer of
// web/js/host.js, which supplies the members modern browsers lack and turns
// what the page throws into a failure record instead of a JS exception.

#include <emscripten/val.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/error.h"
#include "core/object.h"
#include "core/value.h"

namespace reVoziz::web {

class WebObject : public Object {
 public:
  explicit WebObject(emscripten::val object) : object_(std::move(object)) {}
  // Takes over a handle that the host layer made for the module.
  explicit WebObject(emscripten::EM_VAL owned) : object_(emscripten::val::take_ownership(owned)) {}

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  bool has(std::string_view member) override;
  std::string typeName() const override;
  bool sameAs(const Object& other) const override;

  const emscripten::val& handle() const { return object_; }

 private:
  emscripten::val object_;
};

// Kinds of page values as the host layer's kindOf reports them.
enum class HostKind { Undefined, Null, Boolean, Integer, Real, Text, Object, Failure, Waiting };

// The Error a failure record of the host layer describes.
Error hostFailure(const emscripten::val& failure);

// The page value as a control value: numbers that are whole 32-bit integers
// become integers, objects become WebObjects. A failure record from the host
// layer throws the Error it describes; an answer the host layer has to wait
// for (a dialog page) is waited for.
Value toValue(const emscripten::val& v);
// The control value as a page value; objects must come from this host.
emscripten::val toJs(const Value& v);

// The host layer handed to the module at creation (Module.revozizHost).
const emscripten::val& hostLayer();

// The host layer's answer, unless it is a failure record: that throws its Error.
emscripten::val unlessFailed(const emscripten::val& answer);

// Calls a member of the host layer, which answers a failure rather than
// throwing, so that no JavaScript exception ever unwinds through the module.
template <typename... Args>
emscripten::val callHost(const char* member, Args&&... args) {
  return unlessFailed(hostLayer().call<emscripten::val>(member, std::forward<Args>(args)...));
}

// Waits for a promise of the host layer (a picker, a dialog page, a file);
// the page stays responsive meanwhile. A failure record throws its Error.
emscripten::val awaitHost(const emscripten::val& promise);

}  // namespace reVoziz::web
