#pragma once
// The event object (`window.event`) and the helper that dispatches one event
// to one handler.

#include <functional>
#include <memory>
#include <string>

#include "core/object.h"
#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

class WindowModel;

struct EventInit {
  std::string type = "click";
  int keyCode = 0;
  bool ctrlKey = false;
  bool shiftKey = false;
  bool altKey = false;
};

class EventModel : public Object {
 public:
  EventModel(NodePtr source, EventInit init) : source_(std::move(source)), init_(std::move(init)) {}

  const NodePtr& srcElement() const { return source_; }
  const Value& returnValue() const { return returnValue_; }
  bool cancelBubble() const { return cancelBubble_; }

  Value get(std::string_view member) override;
  void put(std::string_view member, const Value& value) override;
  Value call(std::string_view method, std::span<const Value> args) override;
  std::string typeName() const override { return "HTMLEventObj"; }
  bool sameAs(const Object& other) const override { return this == &other; }

 private:
  NodePtr source_;
  EventInit init_;
  Value returnValue_;
  bool cancelBubble_ = false;
};

// Sets `window.event` for the duration of one handler call, then clears it,
// also when the handler throws. Returns the event for inspection.
std::shared_ptr<EventModel> fireEvent(WindowModel& window, NodePtr source, EventInit init,
                                      const std::function<void()>& handler);

}  // namespace reVoziz::pagemodel
