#include "pagemodel/control_binding.h"

#include <functional>
#include <unordered_map>

#include "control/tq.h"
#include "pagemodel/member_args.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {
namespace {

using Forward = std::function<void(tq&, const Window&)>;

const std::unordered_map<std::string_view, Forward>& handlerMethods() {
  static const std::unordered_map<std::string_view, Forward> kMethods = {
      {"clickDispatch", [](tq& c, const Window& w) { c.clickDispatch(w); }},
      {"MouseOverDispatch", [](tq& c, const Window& w) { c.MouseOverDispatch(w); }},
      {"MouseOutDispatch", [](tq& c, const Window& w) { c.MouseOutDispatch(w); }},
      {"closeSelects", [](tq& c, const Window& w) { c.closeSelects(w); }},
      {"singleSegments", [](tq& c, const Window& w) { c.singleSegments(w); }},
      {"scrollSegments", [](tq& c, const Window& w) { c.scrollSegments(w); }},
      {"notesClickDispatch", [](tq& c, const Window& w) { c.notesClickDispatch(w); }},
      {"notesFocusOutDispatch", [](tq& c, const Window& w) { c.notesFocusOutDispatch(w); }},
      {"insertSyncTag", [](tq& c, const Window& w) { c.insertSyncTag(w); }},
      {"notesKeyDispatch", [](tq& c, const Window& w) { c.notesKeyDispatch(w); }},
      {"editBarDispatch", [](tq& c, const Window& w) { c.editBarDispatch(w); }},
      {"notesPaste", [](tq& c, const Window& w) { c.notesPaste(w); }},
      {"notesDragStart", [](tq& c, const Window&) { c.notesDragStart(); }},
      {"notesDragEnter", [](tq& c, const Window& w) { c.notesDragEnter(w); }},
      {"notesDragEnd", [](tq& c, const Window&) { c.notesDragEnd(); }},
      {"notesDrop", [](tq& c, const Window& w) { c.notesDrop(w); }},
  };
  return kMethods;
}

}  // namespace

void bindControl(WindowModel& top, tq& control, std::string name) {
  top.scriptObjects[std::move(name)] = [&control](std::string_view method, WindowModel& window) {
    const auto found = handlerMethods().find(method);
    if (found == handlerMethods().end()) throw memberNotFound(method);
    found->second(control, Window(window.shared_from_this()));
  };
}

}  // namespace reVoziz::pagemodel
