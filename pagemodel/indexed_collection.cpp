#include "pagemodel/indexed_collection.h"

#include "pagemodel/member_args.h"

namespace reVoziz::pagemodel {

Value IndexedCollection::get(std::string_view member) {
  if (member == "length") return static_cast<std::int32_t>(size());
  Value found = named(member);
  if (found.isNull()) throw memberNotFound(member);
  return found;
}

void IndexedCollection::put(std::string_view member, const Value&) {
  throw Error(ErrorCode::HostError, "Collection members are read-only: " + std::string(member));
}

Value IndexedCollection::call(std::string_view method, std::span<const Value> args) {
  if (method != "item") throw memberNotFound(method);
  const Value key = arg(args, 0);
  if (key.isNumber()) {
    const std::int32_t index = key.toInt32();
    if (index < 0 || static_cast<std::size_t>(index) >= size()) return Null{};
    return at(static_cast<std::size_t>(index));
  }
  return named(key.toText());
}

}  // namespace reVoziz::pagemodel
