#pragma once
// Events raised by the page itself, as a browser raises them: each handler
// attribute ("on" and the event type) of the target and of its ancestors
// runs, nearest first, while the event is the window's current event, until
// one cancels the bubbling.

#include <memory>
#include <string_view>

#include "pagemodel/event_model.h"
#include "pagemodel/node.h"

namespace reVoziz::pagemodel {

class WindowModel;

// An error a handler raises goes to the window's scriptErrors and does not
// stop the event or its default action.
std::shared_ptr<EventModel> raiseEvent(WindowModel& window, NodePtr target, EventInit init);

// Whether the handlers left the event's default action to happen.
bool defaultAllowed(const EventModel& event);

// Runs one handler attribute. The model runs no script: it knows calls of a
// script object's method with the window, "tq.notesPaste(window)", optionally
// after "return" or "top."/"parent."; anything else raises an error.
void runHandler(WindowModel& window, std::string_view code);

}  // namespace reVoziz::pagemodel
