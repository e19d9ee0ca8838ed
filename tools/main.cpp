// The revoziz command.

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/notes_command.h"
#include "tools/play_command.h"

namespace {

constexpr const char* kUsage =
    "usage: revoziz play [LESSON_DIR] [--until SECONDS] [--rate R] [--click SECONDS=FRAME#id]...\n"
    "       revoziz notes show FILE [--title]\n"
    "       revoziz notes save LESSON_DIR FILE < NOTES_MARKUP\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || (args[0] != "play" && args[0] != "notes")) {
    std::cerr << kUsage;
    return 2;
  }
  const auto rest = std::span<const std::string>(args).subspan(1);
  try {
    if (args[0] == "notes") return reVoziz::tools::runNotes(rest, std::cin, std::cout, std::cerr);
    const auto options = reVoziz::tools::parsePlayArguments(rest, REVOZIZ_SAMPLE_LESSON);
    return reVoziz::tools::runPlay(options, std::cout, std::cerr);
  } catch (const std::invalid_argument& e) {
    std::cerr << "revoziz: " << e.what() << '\n' << kUsage;
    return 2;
  }
}
