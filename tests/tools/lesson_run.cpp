#include "lesson_run.h"

#include <sstream>

#include "tools/lesson_command.h"

namespace reVoziz::tools {

namespace fs = std::filesystem;

LessonRun lesson(std::vector<std::string> args, const fs::path& module) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runLesson(args, module, out, err);
  return {status, out.str(), err.str()};
}

LessonRun lesson(std::vector<std::string> args, const fs::path& module, lessonmaking::LessonFiles& files) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = runLesson(args, module, files, out, err);
  return {status, out.str(), err.str()};
}

std::vector<std::string> newLessonArguments(const testing::ScratchFolder& scratch, std::vector<std::string> more) {
  std::vector<std::string> args = {
      "new", scratch.file("lesson"), "--video", writeVideo(scratch, "clase 1.webm"),
      "--captions", "en=" + (kCaptions / "lesson_en.vtt").string(),
      "--captions", "es=" + (kCaptions / "lesson_es.vtt").string(),
      "--chapters", (kCaptions / "lesson_chapters.vtt").string(), "--title", "Light & <exposure>"};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

LessonRun makeLesson(const testing::ScratchFolder& scratch, std::vector<std::string> more) {
  return lesson(newLessonArguments(scratch, std::move(more)));
}

std::string writeVideo(const testing::ScratchFolder& scratch, const std::string& name) {
  fs::copy_file(kFourHourVideo, scratch.path() / name, fs::copy_options::overwrite_existing);
  return scratch.file(name);
}

fs::path makeModule(const testing::ScratchFolder& scratch) {
  fs::create_directory(scratch.path() / "module");
  for (const char* name : {"revoziz.mjs", "revoziz.wasm", "lesson_host.js", "host.js"}) {
    scratch.write(std::string("module/") + name, name);
  }
  return scratch.path() / "module";
}

}  // namespace reVoziz::tools
