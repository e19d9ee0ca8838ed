#include "control/host_ref.h"

#include <span>
#include <vector>

#include "control/error.h"

namespace reVoziz {

bool HostRef::sameAs(const HostRef& other) const {
  if (!object_ || !other.object_) return !object_ && !other.object_;
  return object_->sameAs(*other.object_);
}

std::string HostRef::typeName() const { return object_ ? object_->typeName() : "Nothing"; }

Object& HostRef::object() const {
  if (!object_) throw Error(ErrorCode::ObjectRequired, "Object required");
  return *object_;
}

Value HostRef::call(std::string_view method, std::initializer_list<Value> args) const {
  return object().call(method, std::span<const Value>(args.begin(), args.size()));
}

}  // namespace reVoziz
