#include "tools/lesson_loader.h"

#include "core/error.h"
#include "pagemodel/page_loader.h"

namespace reVoziz::tools {

std::shared_ptr<pagemodel::WindowModel> loadLesson(const std::filesystem::path& lesson,
                                                   std::ostream& err) {
  // The error_code forms: a link loop or a name too long is no lesson either, not a crash.
  std::error_code ec;
  if (!std::filesystem::is_directory(lesson, ec)) {
    err << "revoziz: no lesson folder " << lesson.string() << '\n';
    return nullptr;
  }
  const auto index = lesson / "index.html";
  if (!std::filesystem::is_regular_file(index, ec)) {
    err << "revoziz: the lesson folder " << lesson.string() << " has no index.html\n";
    return nullptr;
  }
  try {
    return pagemodel::loadPage(index);
  } catch (const Error& e) {
    err << "revoziz: cannot load the lesson: " << e.what() << '\n';
    return nullptr;
  }
}

}  // namespace reVoziz::tools
