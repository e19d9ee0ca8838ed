#include "web/web_object.h"

#include "core/error.h"
#include "web/host_crossing.h"

namespace reVoziz::web {
namespace {

using emscripten::val;

using Kind = HostKind;

}  // namespace

Error hostFailure(const val& failure) {
  return Error(static_cast<ErrorCode>(failure["code"].as<int>()), failure["message"].as<std::string>());
}

const val& hostLayer() {
  static const val host = val::module_property("revozizHost");
  return host;
}

val unlessFailed(const val& answer) {
  if (static_cast<Kind>(hostLayer().call<int>("kindOf", answer)) == Kind::Failure) throw hostFailure(answer);
  return answer;
}

val awaitHost(const val& promise) {
#ifdef REVOZIZ_WEB_CAN_WAIT
  // The host layer's promises never reject: a failure arrives as a record.
  return unlessFailed(promise.await());
#else
  (void)promise;
  throw Error(ErrorCode::HostError, "This build cannot wait for the browser");
#endif
}

Value toValue(const val& v) {
  switch (static_cast<Kind>(hostLayer().call<int>("kindOf", v))) {
    case Kind::Undefined: return {};
    case Kind::Null: return Null{};
    case Kind::Boolean: return v.as<bool>();
    case Kind::Integer: return static_cast<std::int32_t>(v.as<int>());
    case Kind::Real: return v.as<double>();
    case Kind::Text: return v.as<std::string>();
    case Kind::Object: return Value(std::shared_ptr<Object>(std::make_shared<WebObject>(v)));
    case Kind::Failure: throw hostFailure(v);
    case Kind::Waiting: return toValue(awaitHost(v["promise"]));
  }
  throw Error(ErrorCode::HostError, "The page gave a value of an unknown kind");
}

val toJs(const Value& v) {
  if (v.isEmpty()) return val::undefined();
  if (v.isNull()) return val::null();
  if (v.isBool()) return val(v.toBool());
  if (v.isInt()) return val(v.toInt32());
  if (v.isDouble()) return val(v.toNumber());
  if (v.isString()) return val(v.toText());
  const auto object = std::dynamic_pointer_cast<WebObject>(v.toObject());
  if (!object) throw Error(ErrorCode::TypeMismatch, "An object of this page was expected");
  return object->handle();
}

Value WebObject::get(std::string_view member) { return crossGet(object_, member); }

void WebObject::put(std::string_view member, const Value& value) { crossPut(object_, member, value); }

Value WebObject::call(std::string_view method, std::span<const Value> args) {
  return crossCall(object_, method, args);
}

bool WebObject::has(std::string_view member) { return crossHas(object_, member).toBool(); }

std::string WebObject::typeName() const {
  return callHost("typeName", object_).as<std::string>();
}

bool WebObject::sameAs(const Object& other) const {
  const auto* web = dynamic_cast<const WebObject*>(&other);
  return web && object_.strictlyEquals(web->object_);
}

}  // namespace reVoziz::web
