#pragma once
// Running `revoziz lesson ...` in a test: its status and what it printed.

#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_folder.h"

namespace reVoziz::lessonmaking {
class LessonFiles;
}

namespace reVoziz::tools {

inline const std::filesystem::path kCaptions =
    std::filesystem::path(REVOZIZ_TEST_LESSONS).parent_path() / "captions" / "files";

struct LessonRun {
  int status;
  std::string out;
  std::string err;
};

// The command on the host's own files, or on `files`.
LessonRun lesson(std::vector<std::string> args, const std::filesystem::path& module = "/no/module");
LessonRun lesson(std::vector<std::string> args, const std::filesystem::path& module,
                 lessonmaking::LessonFiles& files);

// `lesson new SCRATCH/lesson` from the two-language captions and their
// chapters, with the video "clase 1.webm" and `more` arguments.
std::vector<std::string> newLessonArguments(const testing::ScratchFolder& scratch,
                                            std::vector<std::string> more = {});
LessonRun makeLesson(const testing::ScratchFolder& scratch, std::vector<std::string> more = {});

// A real video (four hours of a grey square, 8 KB) at SCRATCH/NAME; its path.
inline const std::filesystem::path kFourHourVideo =
    std::filesystem::path(REVOZIZ_TEST_LESSONS) / "videos" / "four_hours.webm";
std::string writeVideo(const testing::ScratchFolder& scratch, const std::string& name);

// A folder SCRATCH/module with the browser module's files, and another script.
std::filesystem::path makeModule(const testing::ScratchFolder& scratch);

}  // namespace reVoziz::tools
