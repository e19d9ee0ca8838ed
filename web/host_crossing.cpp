#include "web/host_crossing.h"

#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/error.h"
#include "web/web_object.h"

// One crossing: the host layer's get, put, call or has, and kindOf on its
// answer, written to `out` (see Answer below). Whatever the host layer throws
// becomes a failure here too: no JavaScript exception may unwind through the
// module.
// clang-format off
EM_JS(int, revoziz_cross, (int operation, emscripten::EM_VAL object, emscripten::EM_VAL name, const void* args, int count, void* out, int room), {
  const host = Module["revozizHost"];
  let answer;
  try {
    const list = operation === 1 || operation === 2 ? [] : undefined;
    for (let i = 0; i < count; i++) {
      const at = args + i * 24;
      const number = HEAPF64[at >> 3];
      const data = HEAPU32[(at + 12) >> 2];
      switch (HEAP32[(at + 8) >> 2]) {
        case 0: list.push(undefined); break;
        case 1: list.push(null); break;
        case 2: list.push(number !== 0); break;
        case 5: list.push(UTF8ToString(data, HEAPU32[(at + 16) >> 2])); break;
        case 6: list.push(Emval.toValue(data)); break;
        default: list.push(number);
      }
    }
    const o = Emval.toValue(object);
    const n = Emval.toValue(name);
    answer = operation === 0 ? host.get(o, n) : operation === 1 ? host.put(o, n, list[0]) :
             operation === 2 ? host.call(o, n, list) : host.has(o, n);
  } catch (error) {
    HEAPU32[(out + 8) >> 2] = Emval.toHandle({ code: 440, message: String(error && error.message || error) });
    return 7;
  }
  const kind = host.kindOf(answer);
  switch (kind) {
    case 2: HEAPF64[out >> 3] = answer ? 1 : 0; break;
    case 3: case 4: HEAPF64[out >> 3] = answer; break;
    case 5:
      if (answer.length * 3 < room) {
        HEAP32[(out + 12) >> 2] = stringToUTF8(answer, out + 16, room);
        break;
      }
      HEAP32[(out + 12) >> 2] = -1;
      HEAPU32[(out + 8) >> 2] = Emval.toHandle(answer);
      break;
    case 6: case 7: case 8: HEAPU32[(out + 8) >> 2] = Emval.toHandle(answer); break;
  }
  return kind;
});
// clang-format on

namespace reVoziz::web {
namespace {

using emscripten::val;

using Kind = HostKind;
enum class Operation { Get, Put, Call, Has };

// One argument as the crossing reads it from the module's memory: a number,
// a text by address and length, or a value handle.
struct Argument {
  double number = 0;
  std::int32_t kind = 0;  // a Kind; Integer and Real both read `number`
  std::uint32_t data = 0;  // the text's address, or the handle
  std::uint32_t length = 0;
  std::uint32_t unused = 0;
};
static_assert(sizeof(Argument) == 24 && offsetof(Argument, kind) == 8 && offsetof(Argument, data) == 12 &&
              offsetof(Argument, length) == 16);

// Room for the texts the page answers with most (class names, start times,
// ids); a longer text comes as a handle.
constexpr int kTextRoom = 256;

// The answer as the crossing writes it: a number, a text of `textLength`
// bytes, or a handle that the module then owns (textLength -1 for a text).
struct Answer {
  double number;
  std::uint32_t handle;
  std::int32_t textLength;
  char text[kTextRoom];
};
static_assert(offsetof(Answer, handle) == 8 && offsetof(Answer, textLength) == 12 && offsetof(Answer, text) == 16);


// Member names as page strings, made once: a walk asks every element for the
// same few. Names the page makes up (ids asked of collections) are capped, and
// past the cap a name is made afresh for its call.
struct NameHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};

const val* internedName(std::string_view name) {
  static std::unordered_map<std::string, val, NameHash, std::equal_to<>> names;
  constexpr std::size_t kMostNames = 1024;
  if (const auto found = names.find(name); found != names.end()) return &found->second;
  if (names.size() >= kMostNames) return nullptr;
  return &names.emplace(std::string(name), val(std::string(name))).first->second;
}

emscripten::EM_VAL handleOf(std::uint32_t handle) { return reinterpret_cast<emscripten::EM_VAL>(static_cast<std::uintptr_t>(handle)); }
std::uint32_t handleNumber(emscripten::EM_VAL handle) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle)); }

// The answer written by revoziz_cross as a control value, taking ownership of
// its handle.
Value answerOf(int kind, const Answer& answer) {
  const auto owned = [&] { return val::take_ownership(handleOf(answer.handle)); };
  switch (static_cast<Kind>(kind)) {
    case Kind::Undefined: return {};
    case Kind::Null: return Null{};
    case Kind::Boolean: return answer.number != 0;
    case Kind::Integer: return static_cast<std::int32_t>(answer.number);
    case Kind::Real: return answer.number;
    case Kind::Text:
      if (answer.textLength >= 0) return std::string_view(answer.text, static_cast<std::size_t>(answer.textLength));
      return owned().as<std::string>();
    case Kind::Object: return Value(std::shared_ptr<Object>(std::make_shared<WebObject>(handleOf(answer.handle))));
    case Kind::Failure: throw hostFailure(owned());
    case Kind::Waiting: return toValue(awaitHost(owned()["promise"]));
  }
  throw Error(ErrorCode::HostError, "The page gave a value of an unknown kind");
}

// The texts of one call's arguments, copied where the crossing reads them.
struct ArgumentTexts {
  char bytes[kTextRoom];
  std::size_t used = 0;
};

// `v` as an argument, unless it is a text that needs a page value of its own:
// one with a NUL inside, which the crossing could not read from memory, or
// one past the room in `texts`.
bool encode(const Value& v, Argument& a, ArgumentTexts& texts) {
  if (v.isEmpty()) a.kind = static_cast<int>(Kind::Undefined);
  else if (v.isNull()) a.kind = static_cast<int>(Kind::Null);
  else if (v.isBool()) {
    a.kind = static_cast<int>(Kind::Boolean);
    a.number = v.toBool() ? 1 : 0;
  } else if (v.isInt() || v.isDouble()) {
    a.kind = static_cast<int>(Kind::Real);
    a.number = v.toNumber();
  } else if (v.isString()) {
    const std::string text = v.toText();
    if (text.size() > kTextRoom - texts.used || std::memchr(text.data(), '\0', text.size()) != nullptr) return false;
    char* at = texts.bytes + texts.used;
    std::memcpy(at, text.data(), text.size());
    texts.used += text.size();
    a.kind = static_cast<int>(Kind::Text);
    a.data = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(at));
    a.length = static_cast<std::uint32_t>(text.size());
  } else {
    const auto* object = dynamic_cast<const WebObject*>(v.toObject().get());
    if (!object) throw Error(ErrorCode::TypeMismatch, "An object of this page was expected");
    a.kind = static_cast<int>(Kind::Object);
    a.data = handleNumber(object->handle().as_handle());
  }
  return true;
}

// Calls with many arguments, texts that need page values, or a name past the
// cap: every text goes as a page value made first.
Value crossHolding(Operation operation, const val& object, std::string_view member, std::span<const Value> args) {
  std::vector<val> held;
  held.reserve(args.size());
  std::vector<Argument> encoded(args.size());
  ArgumentTexts none;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!args[i].isString()) {
      encode(args[i], encoded[i], none);
      continue;
    }
    encoded[i].kind = static_cast<int>(Kind::Object);
    encoded[i].data = handleNumber(held.emplace_back(args[i].toText()).as_handle());
  }
  const val* interned = internedName(member);
  const val name = interned ? *interned : val(std::string(member));
  Answer answer;
  const int kind = revoziz_cross(static_cast<int>(operation), object.as_handle(), name.as_handle(), encoded.data(),
                                 static_cast<int>(encoded.size()), &answer, kTextRoom);
  return answerOf(kind, answer);
}

// The common crossing keeps nothing alive that needs destroying while it
// calls: with the module's exceptions carried by JavaScript, every call made
// while such an object lives takes a round trip through JavaScript.
Value cross(Operation operation, const val& object, std::string_view member, std::span<const Value> args) {
  constexpr std::size_t kMostArguments = 4;
  Argument encoded[kMostArguments];
  ArgumentTexts texts;
  const val* name = internedName(member);
  if (!name || args.size() > kMostArguments) return crossHolding(operation, object, member, args);
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!encode(args[i], encoded[i], texts)) return crossHolding(operation, object, member, args);
  }
  Answer answer;
  const int kind = revoziz_cross(static_cast<int>(operation), object.as_handle(), name->as_handle(), encoded,
                                 static_cast<int>(args.size()), &answer, kTextRoom);
  return answerOf(kind, answer);
}

}  // namespace

Value crossGet(const val& object, std::string_view member) { return cross(Operation::Get, object, member, {}); }

Value crossPut(const val& object, std::string_view member, const Value& value) {
  return cross(Operation::Put, object, member, std::span<const Value>(&value, 1));
}

Value crossCall(const val& object, std::string_view method, std::span<const Value> args) {
  return cross(Operation::Call, object, method, args);
}

Value crossHas(const val& object, std::string_view member) { return cross(Operation::Has, object, member, {}); }

}  // namespace reVoziz::web
