#pragma once
// The shared behaviour of the model's collections: `length`, `item(index)`,
// `item(name)` and members named like their items.

#include <cstddef>
#include <string>

#include "core/object.h"

namespace reVoziz::pagemodel {

class IndexedCollection : public Object {
 public:
  virtual std::size_t size() = 0;
  virtual Value at(std::size_t index) = 0;
  // Null when nothing of that name is in the collection.
  virtual Value named(std::string_view name) = 0;

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  bool sameAs(const Object& other) const override { return this == &other; }
};

}  // namespace reVoziz::pagemodel
