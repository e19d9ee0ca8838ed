#include "pagemodel/event_model.h"

#include "pagemodel/member_args.h"
#include "pagemodel/window_model.h"

namespace reVoziz::pagemodel {

Value EventModel::get(std::string_view member) {
  if (member == "srcElement") return std::shared_ptr<Object>(source_);
  if (member == "type") return init_.type;
  if (member == "keyCode") return init_.keyCode;
  if (member == "ctrlKey") return init_.ctrlKey;
  if (member == "shiftKey") return init_.shiftKey;
  if (member == "altKey") return init_.altKey;
  if (member == "returnValue") return returnValue_;
  if (member == "cancelBubble") return cancelBubble_;
  throw memberNotFound(member);
}

void EventModel::put(std::string_view member, const Value& value) {
  if (member == "returnValue") {
    returnValue_ = value;
  } else if (member == "cancelBubble") {
    cancelBubble_ = value.toBool();
  } else if (member == "keyCode") {
    init_.keyCode = value.toInt32();
  } else {
    throw memberNotFound(member);
  }
}

Value EventModel::call(std::string_view method, std::span<const Value>) {
  throw memberNotFound(method);
}

std::shared_ptr<EventModel> fireEvent(WindowModel& window, NodePtr source, EventInit init,
                                      const std::function<void()>& handler) {
  auto event = std::make_shared<EventModel>(std::move(source), std::move(init));
  struct ClearOnExit {
    WindowModel& window;
    std::shared_ptr<EventModel> previous;
    ~ClearOnExit() { window.event = previous; }
  } clear{window, window.event};
  window.event = event;
  handler();
  return event;
}

}  // namespace reVoziz::pagemodel
