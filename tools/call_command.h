#pragma once
// `revoziz call`: invokes one method of the automation interface by name on a
// started lesson, through the same method table as the COM server. A
// debugging aid for lesson authors.

#include <filesystem>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace reVoziz::tools {

struct CallOptions {
  std::filesystem::path lesson;
  std::string method;
  // "@" is the top window, "@FRAME" a frame's window, "@FRAME#id" an element;
  // anything else is text, which the method table coerces.
  std::vector<std::string> args;
};

// The first argument is the lesson folder when it names a folder. Throws
// std::invalid_argument without a method name.
CallOptions parseCallArguments(std::span<const std::string> args,
                               const std::filesystem::path& defaultLesson);

// Prints the result, or "error CODE MESSAGE". Returns 0 on success, 1 when the
// method failed, 2 when the lesson or an object argument could not be found.
int runCall(const CallOptions& options, std::ostream& out, std::ostream& err);

}  // namespace reVoziz::tools
