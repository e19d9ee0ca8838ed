#pragma once
// Makes a control reachable from the page's handler attributes under a name,
// as the page's <object> makes it in a browser: "tq.notesPaste(window)".

#include <string>

namespace reVoziz {
class tq;
}

namespace reVoziz::pagemodel {

class WindowModel;

// The control's event methods that take the window, called by name.
void bindControl(WindowModel& top, tq& control, std::string name = "tq");

}  // namespace reVoziz::pagemodel
