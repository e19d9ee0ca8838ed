#pragma once
// The host boundary: one late-bound host object (window, element, collection,
// player...). A host implements these operations and nothing else, so the same
// control runs on the in-memory page model and in a browser.

#include <span>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/value.h"

namespace reVoziz {

class Object {
 public:
  virtual ~Object() = default;

  // Throws Error(MemberNotFound) when the object has no such member.
  virtual Value get(std::string_view member) = 0;
  virtual void put(std::string_view member, const Value& value) = 0;
  virtual Value call(std::string_view method, std::span<const Value> args) = 0;
  // Whether `member in object` holds: a member of the object itself, not an
  // attribute or expando read as one. Hosts that know better answer it
  // themselves; reading the member tells otherwise.
  virtual bool has(std::string_view member) {
    try {
      get(member);
      return true;
    } catch (const Error& e) {
      if (e.code() == ErrorCode::MemberNotFound) return false;
      throw;
    }
  }
  // The automation type name, e.g. "HTMLDivElement".
  virtual std::string typeName() const = 0;
  // Identity: whether both references lead to the same host object.
  virtual bool sameAs(const Object& other) const = 0;
};

}  // namespace reVoziz
