#include "pagemodel/event_dispatch.h"

#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {
namespace {

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n;");
  return s.substr(first, last + 1 - first);
}

bool consume(std::string_view& s, std::string_view prefix) {
  if (!s.starts_with(prefix)) return false;
  s.remove_prefix(prefix.size());
  return true;
}

}  // namespace

void runHandler(WindowModel& window, std::string_view code) {
  std::string_view call = trimmed(code);
  consume(call, "return ");
  while (consume(call, "window.") || consume(call, "top.") || consume(call, "parent.")) {
  }
  const auto dot = call.find('.');
  const auto open = call.find('(');
  if (dot == std::string_view::npos || open == std::string_view::npos || open < dot ||
      !call.ends_with(")")) {
    throw Error(ErrorCode::HostError, "The page model cannot run the handler: " + std::string(code));
  }
  const std::string_view object = call.substr(0, dot);
  const std::string_view method = call.substr(dot + 1, open - dot - 1);
  const std::string_view argument = trimmed(call.substr(open + 1, call.size() - open - 2));
  if (!argument.empty() && argument != "window") {
    throw Error(ErrorCode::HostError, "The page model passes only the window: " + std::string(code));
  }
  const auto top = window.top();
  const auto found = top->scriptObjects.find(object);
  if (found == top->scriptObjects.end()) {
    throw Error(ErrorCode::HostError, "'" + std::string(object) + "' is undefined");
  }
  found->second(method, window);
}

std::shared_ptr<EventModel> raiseEvent(WindowModel& window, NodePtr target, EventInit init) {
  const std::string attribute = "on" + init.type;
  std::shared_ptr<EventModel> raised;
  raised = fireEvent(window, target, std::move(init), [&] {
    const auto& event = window.event;
    for (const Node* n = target.get(); n && !event->cancelBubble(); n = n->parent()) {
      const std::string* code = n->isElement() ? n->findAttribute(attribute) : nullptr;
      if (!code) continue;
      try {
        runHandler(window, *code);
      } catch (const Error& e) {
        // A failing handler is reported by the browser; the event goes on.
        window.scriptErrors.push_back(e);
      }
    }
  });
  return raised;
}

bool defaultAllowed(const EventModel& event) {
  return !(event.returnValue().isBool() && !event.returnValue().toBool());
}

}  // namespace reVoziz::pagemodel
