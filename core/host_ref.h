#pragma once
// Base of the page facade: a reference to one host object that may be unset,
// like an automation object variable. Using an unset reference raises
// ObjectRequired, so chained access reads like the page's own script.

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include "core/object.h"
#include "core/value.h"

namespace reVoziz {

class HostRef {
 public:
  HostRef() = default;
  explicit HostRef(std::shared_ptr<Object> object) : object_(std::move(object)) {}
  // An object value, or unset for Null and empty; other values are a mismatch.
  explicit HostRef(const Value& value) : object_(value.toObject()) {}

  bool isSet() const { return object_ != nullptr; }
  const std::shared_ptr<Object>& handle() const { return object_; }
  Value asValue() const { return Value(object_); }
  // Identity of the host objects; two unset references are the same.
  bool sameAs(const HostRef& other) const;
  // The automation type name; "Nothing" for an unset reference.
  std::string typeName() const;
  // Whether the host object has a member of that name (`name in object`).
  bool hasMember(std::string_view name) const;

 protected:
  // Every call into the host goes through these; whatever a host throws other
  // than Error comes out as Error(HostError) with the host's message.
  Object& object() const;
  Value get(std::string_view member) const;
  void put(std::string_view member, const Value& value) const;
  Value call(std::string_view method, std::initializer_list<Value> args = {}) const;
  std::string text(std::string_view member) const { return get(member).toText(); }
  std::int32_t integer(std::string_view member) const { return get(member).toInt32(); }

 private:
  std::shared_ptr<Object> object_;
};

}  // namespace reVoziz
