#include "automation/method_table.h"

#include "core/error.h"
#include "core/text.h"
#include "control/tq.h"

namespace reVoziz::automation {
namespace {

using Args = std::span<const Value>;

constexpr Parameter val(std::string_view name, Type type) { return {name, type, false}; }
constexpr Parameter ref(std::string_view name, Type type) { return {name, type, true}; }

// Readers of arguments that invoke() has already coerced.
std::int32_t integer(const Value& v) { return v.toInt32(); }
std::string text(const Value& v) { return v.toText(); }

template <class Body>
Value none(Body&& body) {
  body();
  return {};
}

constexpr Type I = Type::Integer, S = Type::String, O = Type::Object, W = Type::Window,
               D = Type::Document, P = Type::Player, V = Type::Variant, B = Type::Boolean;

const Method kMethods[] = {
    {"showMode", {ref("mode", O), ref("layout", I)}, 2, V,
     [](tq& c, Args a) { return none([&] { c.showMode(Element(a[0]), integer(a[1])); }); }},
    {"min", {val("a", I), val("b", I)}, 2, I,
     [](tq& c, Args a) { return Value(c.min(integer(a[0]), integer(a[1]))); }},
    {"max", {val("a", I), val("b", I)}, 2, I,
     [](tq& c, Args a) { return Value(c.max(integer(a[0]), integer(a[1]))); }},
    {"goTo_", {ref("pos_", S)}, 1, V,
     [](tq& c, Args a) { return none([&] { c.goTo_(text(a[0])); }); }},
    {"timeToSeconds", {val("time", S)}, 1, I,
     [](tq& c, Args a) { return Value(c.timeToSeconds(text(a[0]))); }},
    {"secondsToTime", {val("t", I)}, 1, S,
     [](tq& c, Args a) { return Value(c.secondsToTime(integer(a[0]))); }},
    {"getVal", {ref("o", O), ref("p", S)}, 2, V,
     [](tq& c, Args a) { return c.getVal(Element(a[0]), text(a[1])); }},
    {"getCurrentSegment", {ref("iText", O), ref("time", I)}, 2, O,
     [](tq& c, Args a) { return c.getCurrentSegment(Element(a[0]), integer(a[1])).asValue(); }},
    {"markCurrentSegment", {ref("iText", O), ref("time", I)}, 2, Type::None,
     [](tq& c, Args a) { return none([&] { c.markCurrentSegment(Element(a[0]), integer(a[1])); }); }},
    {"addStyle", {ref("sSheet", O), ref("sel", S), val("s", S), val("v", V)}, 4, Type::None,
     [](tq& c, Args a) {
       return none([&] { c.addStyle(StyleSheet(a[0]), text(a[1]), text(a[2]), a[3]); });
     }},
    {"singleSegments", {ref("w", W)}, 1, Type::None,
     [](tq& c, Args a) { return none([&] { c.singleSegments(Window(a[0])); }); }},
    {"scrollSegments", {ref("w", W)}, 1, Type::None,
     [](tq& c, Args a) { return none([&] { c.scrollSegments(Window(a[0])); }); }},
    {"toggleSync", {ref("d", D), ref("e", O)}, 2, Type::None,
     [](tq& c, Args a) { return none([&] { c.toggleSync(Document(a[0]), Element(a[1])); }); }},
    {"switchText", {ref("d", D), ref("e", O)}, 2, V,
     [](tq& c, Args a) { return none([&] { c.switchText(Document(a[0]), Element(a[1])); }); }},
    {"closeSelects", {ref("w", W)}, 1, V,
     [](tq& c, Args a) { return none([&] { c.closeSelects(Window(a[0])); }); }},
    {"clickDispatch", {ref("w", W)}, 1, V,
     [](tq& c, Args a) { return none([&] { c.clickDispatch(Window(a[0])); }); }},
    {"toggleXpand", {ref("ex", O)}, 1, V,
     [](tq& c, Args a) { return none([&] { c.toggleXpand(Element(a[0])); }); }},
    {"MouseOverDispatch", {ref("w", W)}, 1, V,
     [](tq& c, Args a) { return none([&] { c.MouseOverDispatch(Window(a[0])); }); }},
    {"MouseOutDispatch", {ref("w", W)}, 1, V,
     [](tq& c, Args a) { return none([&] { c.MouseOutDispatch(Window(a[0])); }); }},
    {"startVelisk", {ref("w", W), ref("mp", P)}, 2, V,
     [](tq& c, Args a) { return none([&] { c.startVelisk(Window(a[0]), Player(a[1])); }); }},
    {"notesClickDispatch", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.notesClickDispatch(Window(a[0])); }); }},
    {"insertSyncTag", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.insertSyncTag(Window(a[0])); }); }},
    {"syncVideo", {ref("w", W), ref("timeText", S)}, 2, V, 
     [](tq& c, Args a) { return none([&] { c.syncVideo(Window(a[0]), text(a[1])); }); }},
    {"adjustTimeCode", {ref("w", W), ref("tc", O), ref("secs", I)}, 3, V, 
     [](tq& c, Args a) { return none([&] { c.adjustTimeCode(Window(a[0]), Element(a[1]), integer(a[2])); }); }},
    {"notesFocusOutDispatch", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.notesFocusOutDispatch(Window(a[0])); }); }},
    {"formatTimeCode", {ref("w", W), ref("tc", O)}, 2, V, 
     [](tq& c, Args a) { return none([&] { c.formatTimeCode(Window(a[0]), Element(a[1])); }); }},
    {"notesPaste", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.notesPaste(Window(a[0])); }); }},
    {"notesDragStart", {}, 0, V, 
     [](tq& c, Args) { return none([&] { c.notesDragStart(); }); }},
    {"notesDragEnter", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.notesDragEnter(Window(a[0])); }); }},
    {"notesDragEnd", {}, 0, V, 
     [](tq& c, Args) { return none([&] { c.notesDragEnd(); }); }},
    {"notesDrop", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.notesDrop(Window(a[0])); }); }},
    {"notesKeyDispatch", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.notesKeyDispatch(Window(a[0])); }); }},
    {"editBarDispatch", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.editBarDispatch(Window(a[0])); }); }},
    {"editableSelection", {ref("w", W)}, 1, B, 
     [](tq& c, Args a) { return Value(c.editableSelection(Window(a[0]))); }},
    {"parentSelection", {ref("w", W)}, 1, O, 
     [](tq& c, Args a) { return c.parentSelection(Window(a[0])).asValue(); }},
    {"classContains", {ref("className", S), ref("el", O)}, 2, B,
     [](tq& c, Args a) { return Value(c.classContains(text(a[0]), Element(a[1]))); }},
    {"newNotes", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.newNotes(Window(a[0])); }); }},
    {"openNotes", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.openNotes(Window(a[0])); }); }},
    {"saveNotes", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.saveNotes(Window(a[0])); }); }},
    {"checkChanges", {ref("w", W)}, 1, B, 
     [](tq& c, Args a) { return Value(c.checkChanges(Window(a[0]))); }},
    {"composePage", {ref("w", W)}, 1, S, 
     [](tq& c, Args a) { return Value(c.composePage(Window(a[0]))); }},
    {"pageExtract", {ref("page", S), ref("key", S)}, 2, S, 
     [](tq& c, Args a) { return Value(c.pageExtract(text(a[0]), text(a[1]))); }},
    {"checkContent", {ref("w", W), ref("page", S)}, 2, B, 
     [](tq& c, Args a) { return Value(c.checkContent(Window(a[0]), text(a[1]))); }},
    {"backupNotes", {ref("w", W)}, 1, B, 
     [](tq& c, Args a) { return Value(c.backupNotes(Window(a[0]))); }},
    {"restoreNotes", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.restoreNotes(Window(a[0])); }); }},
    {"checkUnsaved", {ref("w", W)}, 1, B, 
     [](tq& c, Args a) { return Value(c.checkUnsaved(Window(a[0]))); }},
    {"backupNotes1", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.backupNotes1(Window(a[0])); }); }},
    {"restoreNotes1", {ref("w", W)}, 1, V, 
     [](tq& c, Args a) { return none([&] { c.restoreNotes1(Window(a[0])); }); }},
};

// What a caller gets back where the method sets no result.
Value emptyOf(Type type) {
  switch (type) {
    case Type::Integer: return Value(std::int32_t{0});
    case Type::String: return Value(std::string());
    case Type::Boolean: return Value(false);
    case Type::Object:
    case Type::Window:
    case Type::Document:
    case Type::Player: return Value(Null{});
    default: return Value();
  }
}

}  // namespace

std::span<const Method> methods() { return kMethods; }

bool isObjectType(Type type) {
  return type == Type::Object || type == Type::Window || type == Type::Document || type == Type::Player;
}

DispId dispIdOfSlot(std::size_t slot) { return static_cast<DispId>(slot) + 1; }

std::optional<DispId> dispIdOf(std::string_view name) {
  const std::string wanted = lowerCase(name);
  for (std::size_t slot = 0; slot < std::size(kMethods); ++slot) {
    if (lowerCase(kMethods[slot].name) == wanted) return dispIdOfSlot(slot);
  }
  return std::nullopt;
}

const Method* methodOf(DispId id) {
  if (id < 1 || static_cast<std::size_t>(id) > std::size(kMethods)) return nullptr;
  return &kMethods[id - 1];
}

Value coerce(const Value& argument, Type type) {
  switch (type) {
    case Type::Integer: return Value(argument.toInt32());
    case Type::String: return Value(argument.toText());
    case Type::Boolean: return Value(argument.toBool());
    case Type::Object:
    case Type::Window:
    case Type::Document:
    case Type::Player: return Value(argument.toObject());
    default: return argument;
  }
}

Outcome invoke(tq& control, DispId id, std::span<const Value> args) {
  const Method* method = methodOf(id);
  if (!method || !method->invoker) return {kMemberNotFound, {}, "Member not found"};
  if (args.size() != method->arity) return {kBadParamCount, {}, "Wrong number of arguments"};
  try {
    std::array<Value, 4> coerced;
    for (std::size_t i = 0; i < args.size(); ++i) coerced[i] = coerce(args[i], method->params[i].type);
    Value result = method->invoker(control, std::span<const Value>(coerced.data(), args.size()));
    return {kOk, result.isEmpty() ? emptyOf(method->result) : std::move(result), {}};
  } catch (const Error& e) {
    return {e.status(), {}, e.what()};
  }
}

Outcome invoke(tq& control, std::string_view name, std::span<const Value> args) {
  const auto id = dispIdOf(name);
  if (!id) return {kUnknownName, {}, "Unknown name"};
  return invoke(control, *id, args);
}

Error errorOf(const Outcome& outcome) {
  constexpr std::uint32_t kControlFacility = 0x800A0000u;
  if ((outcome.status & 0xFFFF0000u) == kControlFacility) {
    return Error(static_cast<ErrorCode>(outcome.status & 0xFFFFu), outcome.message);
  }
  return Error(ErrorCode::HostError, outcome.message);
}

}  // namespace reVoziz::automation
