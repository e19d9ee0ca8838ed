#pragma once
// An element's `attributes` collection and its attribute nodes.

#include <memory>
#include <string>

#include "core/object.h"
#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

class AttributeObject : public Object {
 public:
  AttributeObject(NodePtr owner, std::string name) : owner_(std::move(owner)), name_(std::move(name)) {}
  const NodePtr& owner() const { return owner_; }
  const std::string& name() const { return name_; }

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override { return "Attr"; }
  bool sameAs(const Object& other) const override;

 private:
  NodePtr owner_;
  std::string name_;
};

std::shared_ptr<Object> makeAttributesCollection(NodePtr owner);

}  // namespace reVoziz::pagemodel
