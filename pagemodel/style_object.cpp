#include "pagemodel/style_object.h"

#include "core/error.h"
#include "pagemodel/css.h"
#include "pagemodel/member_args.h"

namespace reVoziz::pagemodel {

Value StyleObject::get(std::string_view member) {
  if (member == "cssText") return read_();
  return CssDeclarations::parse(read_()).get(cssPropertyName(member));
}

void StyleObject::put(std::string_view member, const Value& value) {
  if (member == "cssText") {
    write_(value.toText());
    return;
  }
  CssDeclarations declarations = CssDeclarations::parse(read_());
  declarations.set(cssPropertyName(member), value.toText());
  write_(declarations.serialize());
}

Value StyleObject::call(std::string_view method, std::span<const Value> args) {
  if (method == "setAttribute") {
    put(textArg(args, 0), arg(args, 1));
    return {};
  }
  if (method == "getAttribute") return get(textArg(args, 0));
  if (method == "removeAttribute") {
    put(textArg(args, 0), std::string());
    return {};
  }
  throw memberNotFound(method);
}

bool StyleObject::sameAs(const Object& other) const {
  const auto* o = dynamic_cast<const StyleObject*>(&other);
  return o && o->owner_ == owner_;
}

}  // namespace reVoziz::pagemodel
