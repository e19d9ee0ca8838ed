#pragma once
// Loading a lesson folder for the revoziz commands.

#include <filesystem>
#include <memory>
#include <ostream>

#include "pagemodel/window_model.h"

namespace reVoziz::tools {

// The top window of LESSON_DIR/index.html with its frames, or null after
// telling `err` why the lesson cannot be loaded.
std::shared_ptr<pagemodel::WindowModel> loadLesson(const std::filesystem::path& lesson,
                                                   std::ostream& err);

}  // namespace reVoziz::tools
