// The revoziz command.

#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/call_command.h"
#include "tools/lesson_command.h"
#include "tools/notes_command.h"
#include "tools/play_command.h"

namespace {

constexpr const char* kUsage =
    "usage: revoziz play [LESSON_DIR] [--until SECONDS] [--rate R] [--click SECONDS=FRAME#id]...\n"
    "       revoziz notes show FILE [--title]\n"
    "       revoziz notes save LESSON_DIR FILE < NOTES_MARKUP\n"
    "       revoziz notes paste LESSON_DIR FILE < CLIPBOARD_HTML\n"
    "       revoziz call [LESSON_DIR] METHOD [ARG]...   (ARG: text, @, @FRAME or @FRAME#id)\n"
    "       revoziz lesson cues FILE [--encoding ENCODING]\n"
    "       revoziz lesson new OUT_DIR --video FILE --captions LANG=FILE [--captions LANG=FILE]...\n"
    "                          [--chapters FILE] [--title TEXT] [--link-video] [--force]\n"
    "                          [--lang LANG] [--encoding ENCODING]\n"
    "       (ENCODING of the captions: utf-8, utf-16le, utf-16be or windows-1252)\n"
    "       revoziz lesson check LESSON_DIR\n"
    "       revoziz lesson publish LESSON_DIR OUT_DIR [--module DIR] [--force]\n";

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || (args[0] != "play" && args[0] != "notes" && args[0] != "call" &&
                        args[0] != "lesson")) {
    std::cerr << kUsage;
    return 2;
  }
  const auto rest = std::span<const std::string>(args).subspan(1);
  try {
    if (args[0] == "lesson") {
      return reVoziz::tools::runLesson(rest, REVOZIZ_WEB_MODULE, std::cout, std::cerr);
    }
    if (args[0] == "notes") return reVoziz::tools::runNotes(rest, std::cin, std::cout, std::cerr);
    if (args[0] == "call") {
      const auto options = reVoziz::tools::parseCallArguments(rest, REVOZIZ_SAMPLE_LESSON);
      return reVoziz::tools::runCall(options, std::cout, std::cerr);
    }
    const auto options = reVoziz::tools::parsePlayArguments(rest, REVOZIZ_SAMPLE_LESSON);
    return reVoziz::tools::runPlay(options, std::cout, std::cerr);
  } catch (const std::invalid_argument& e) {
    std::cerr << "revoziz: " << e.what() << '\n' << kUsage;
    return 2;
  }
}
