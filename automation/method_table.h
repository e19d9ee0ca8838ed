#pragma once
// The automation interface `_tq` by name or DISPID: its 48 methods in slot
// order, the coercion of variant arguments to the declared types, and the
// statuses a caller sees. Every binding (the COM server, `revoziz call`) goes
// through here, so the calling convention is written once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/error.h"
#include "core/value.h"

namespace reVoziz {
class tq;
}

namespace reVoziz::automation {

// Declared types of parameters and results. Window, Document and Player are
// object types with a name of their own in the type library.
enum class Type { None, Variant, Integer, String, Boolean, Object, Window, Document, Player };

// Object, Window, Document and Player: types whose empty value is no object.
bool isObjectType(Type type);

struct Parameter {
  std::string_view name;
  Type type = Type::None;
  bool byRef = false;
};

// Arguments arrive already coerced to the declared parameter types.
using Invoker = Value (*)(tq& control, std::span<const Value> args);

struct Method {
  std::string_view name;
  std::array<Parameter, 4> params{};
  std::size_t arity = 0;
  Type result = Type::None;
  Invoker invoker = nullptr;

  std::span<const Parameter> parameters() const { return {params.data(), arity}; }
};

using DispId = std::int32_t;

// The methods in slot order.
std::span<const Method> methods();
// Slot i has DISPID i + 1; DISPID 0 would make a method the default member.
DispId dispIdOfSlot(std::size_t slot);
// Case-insensitive, as automation looks names up.
std::optional<DispId> dispIdOf(std::string_view name);
const Method* methodOf(DispId id);

// Automation statuses.
inline constexpr std::uint32_t kOk = 0;
inline constexpr std::uint32_t kMemberNotFound = 0x80020003u;  // DISP_E_MEMBERNOTFOUND
inline constexpr std::uint32_t kUnknownName = 0x80020006u;     // DISP_E_UNKNOWNNAME
inline constexpr std::uint32_t kBadParamCount = 0x8002000Eu;   // DISP_E_BADPARAMCOUNT

struct Outcome {
  std::uint32_t status = kOk;
  Value result;          // the declared type's empty value unless the method set one
  std::string message;   // why it failed
  bool ok() const { return status == kOk; }
};

// One argument to its declared type, by the automation rules: "12" is 12 for
// an integer, a real rounds half to even, an object or Null is no number.
// Throws Error(TypeMismatch) or Error(Overflow).
Value coerce(const Value& argument, Type type);

// Calls a method with arguments in declaration order. By-reference arguments
// are read, never written back. A failing method gives 0x800A0000 | its code.
Outcome invoke(tq& control, DispId id, std::span<const Value> args);
Outcome invoke(tq& control, std::string_view name, std::span<const Value> args);

// The error behind a failed call's status, for bindings that raise it again in
// the caller's script: the control's own code where the status carries one,
// otherwise a host error with the table's message.
Error errorOf(const Outcome& outcome);

}  // namespace reVoziz::automation
