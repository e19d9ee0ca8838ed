#include "pagemodel/attribute_objects.h"

#include "pagemodel/document_model.h"
#include "pagemodel/indexed_collection.h"
#include "pagemodel/member_args.h"

namespace reVoziz::pagemodel {
namespace {

class AttributesCollection : public IndexedCollection {
 public:
  explicit AttributesCollection(NodePtr owner) : owner_(std::move(owner)) {}
  std::size_t size() override { return owner_->attributes().size(); }
  Value at(std::size_t index) override {
    return std::shared_ptr<Object>(
        std::make_shared<AttributeObject>(owner_, owner_->attributes()[index].name));
  }
  Value named(std::string_view name) override {
    if (!owner_->findAttribute(name)) return Null{};
    return std::shared_ptr<Object>(std::make_shared<AttributeObject>(owner_, std::string(name)));
  }
  std::string typeName() const override { return "NamedNodeMap"; }

 private:
  NodePtr owner_;
};

}  // namespace

Value AttributeObject::get(std::string_view member) {
  const std::string* value = owner_->findAttribute(name_);
  if (member == "nodeName" || member == "name") return name_;
  if (member == "nodeValue" || member == "value") return value ? Value(*value) : Value(Null{});
  if (member == "specified") return value != nullptr;
  throw memberNotFound(member);
}

void AttributeObject::put(std::string_view member, const Value& value) {
  if (member != "nodeValue" && member != "value") throw memberNotFound(member);
  owner_->setAttribute(name_, value.toText());
  noteWrite(*owner_);
}

Value AttributeObject::call(std::string_view method, std::span<const Value>) {
  throw memberNotFound(method);
}

bool AttributeObject::sameAs(const Object& other) const {
  const auto* o = dynamic_cast<const AttributeObject*>(&other);
  return o && o->owner_ == owner_ && sameHtmlName(o->name_, name_);
}

std::shared_ptr<Object> makeAttributesCollection(NodePtr owner) {
  return std::make_shared<AttributesCollection>(std::move(owner));
}

}  // namespace reVoziz::pagemodel
