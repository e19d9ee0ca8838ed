#pragma once
// `revoziz lesson`: makes lessons from captions, checks and publishes them.
//
//   revoziz lesson cues FILE
//   revoziz lesson new OUT_DIR --video FILE --captions LANG=FILE [--captions LANG=FILE]...
//                      [--chapters FILE] [--title TEXT] [--link-video] [--force]
//   revoziz lesson check LESSON_DIR
//   revoziz lesson publish LESSON_DIR OUT_DIR [--module DIR] [--force]

#include <filesystem>
#include <ostream>
#include <span>
#include <string>

namespace reVoziz::lessonmaking {
class LessonFiles;
}

namespace reVoziz::tools {

// Returns the exit status: 0 when done, 1 on failure (reported as
// "error CODE MESSAGE", or by `check` as one "FILE:LINE: message" per
// problem). Throws std::invalid_argument with a message for the user on bad
// arguments. `moduleDir` is where `publish` takes the browser module from by
// default.
int runLesson(std::span<const std::string> args, const std::filesystem::path& moduleDir,
              std::ostream& out, std::ostream& err);

// The same with every file reached through `files`; the one above uses the
// host's own files.
int runLesson(std::span<const std::string> args, const std::filesystem::path& moduleDir,
              lessonmaking::LessonFiles& files, std::ostream& out, std::ostream& err);

}  // namespace reVoziz::tools
