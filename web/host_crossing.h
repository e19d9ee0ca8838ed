#pragma once
// The crossing into the host layer for the members of page objects: one call
// into JavaScript per get, put or call that also classifies the answer, and
// brings short texts and numbers back through the module's memory instead of
// through further calls. Walks over long lists make many of these, so each
// one counts.

#include <emscripten/val.h>

#include <span>
#include <string_view>

#include "core/value.h"

namespace reVoziz::web {

// The host layer's `get`, `put`, `call` and `has` on `object`, answered as a
// control value; a failure record throws its Error, and an answer the host
// layer has to wait for is waited for.
Value crossGet(const emscripten::val& object, std::string_view member);
Value crossPut(const emscripten::val& object, std::string_view member, const Value& value);
Value crossCall(const emscripten::val& object, std::string_view method, std::span<const Value> args);
Value crossHas(const emscripten::val& object, std::string_view member);

}  // namespace reVoziz::web
