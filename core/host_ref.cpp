#include "core/host_ref.h"

#include <exception>
#include <span>
#include <vector>

#include "core/error.h"

namespace reVoziz {
namespace {

// The control deals in one exception type, so a failed step ends a method or
// a tick the same way on every host, whatever the host throws.
template <class Call>
auto crossIntoHost(Call&& call) -> decltype(call()) {
  try {
    return call();
  } catch (const Error&) {
    throw;
  } catch (const std::exception& e) {
    throw Error(ErrorCode::HostError, e.what());
  } catch (...) {
    throw Error(ErrorCode::HostError, "The host failed");
  }
}

}  // namespace

bool HostRef::sameAs(const HostRef& other) const {
  if (!object_ || !other.object_) return !object_ && !other.object_;
  if (object_ == other.object_) return true;  // no need to ask the host
  return crossIntoHost([&] { return object_->sameAs(*other.object_); });
}

std::string HostRef::typeName() const {
  return object_ ? crossIntoHost([&] { return object_->typeName(); }) : "Nothing";
}

bool HostRef::hasMember(std::string_view name) const {
  Object& host = object();
  return crossIntoHost([&] { return host.has(name); });
}

Object& HostRef::object() const {
  if (!object_) throw Error(ErrorCode::ObjectRequired, "Object required");
  return *object_;
}

Value HostRef::get(std::string_view member) const {
  Object& host = object();
  return crossIntoHost([&] { return host.get(member); });
}

void HostRef::put(std::string_view member, const Value& value) const {
  Object& host = object();
  crossIntoHost([&] { host.put(member, value); });
}

Value HostRef::call(std::string_view method, std::initializer_list<Value> args) const {
  Object& host = object();
  return crossIntoHost(
      [&] { return host.call(method, std::span<const Value>(args.begin(), args.size())); });
}

}  // namespace reVoziz
