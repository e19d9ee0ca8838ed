#pragma once
// Argument access for the model's member tables.

#include <span>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/value.h"

namespace reVoziz::pagemodel {

// A missing argument reads as empty, as an optional automation argument does.
inline Value arg(std::span<const Value> args, std::size_t i) {
  return i < args.size() ? args[i] : Value();
}
inline std::string textArg(std::span<const Value> args, std::size_t i) {
  return arg(args, i).toText();
}

inline Error memberNotFound(std::string_view member) {
  return Error(ErrorCode::MemberNotFound,
               "Object doesn't support this property or method: " + std::string(member));
}

}  // namespace reVoziz::pagemodel
