#pragma once
// A style object (`style`, `runtimeStyle`, a rule's `style`) over one CSS text
// slot. `cssText` reads back exactly what was set; setting one property
// rewrites the text in a normal form.

#include <functional>
#include <string>

#include "core/object.h"

namespace reVoziz::pagemodel {

class StyleObject : public Object {
 public:
  using Read = std::function<std::string()>;
  using Write = std::function<void(std::string)>;

  // `owner` identifies the slot: two style objects over one slot are the same.
  StyleObject(const void* owner, Read read, Write write)
      : owner_(owner), read_(std::move(read)), write_(std::move(write)) {}

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override { return "CSSStyleDeclaration"; }
  bool sameAs(const Object& other) const override;

 private:
  const void* owner_;
  Read read_;
  Write write_;
};

}  // namespace reVoziz::pagemodel
