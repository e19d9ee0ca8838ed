#pragma once
// `revoziz notes`: reads and makes notes files without opening the lesson in
// a browser, through the control's own methods on the page model.
//
//   revoziz notes show FILE [--title]
//   revoziz notes save LESSON_DIR FILE      (the notes' markup on standard input)

#include <istream>
#include <ostream>
#include <span>
#include <string>

namespace reVoziz::tools {

// Returns the exit status: 0 when done, 1 when the control failed (reported
// as "error CODE MESSAGE"), 2 when the lesson or its notes page cannot be
// loaded. Throws std::invalid_argument with a message for the user on bad arguments.
int runNotes(std::span<const std::string> args, std::istream& in, std::ostream& out,
             std::ostream& err);

}  // namespace reVoziz::tools
