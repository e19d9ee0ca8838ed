#pragma once
// Makes a control reachable from the page model's handler attributes under a
// name, as the page's <object> makes it in a browser: "tq.notesPaste(window)".
// Calls go through the method table, like every other binding.

#include <string>

namespace reVoziz {
class tq;
}

namespace reVoziz::pagemodel {
class WindowModel;
}

namespace reVoziz::automation {

// Any method of the control that takes the window, or nothing, by name. A
// failing call raises its error in the handler, as a script exception.
void bindControl(pagemodel::WindowModel& top, tq& control, std::string name = "tq");

}  // namespace reVoziz::automation
