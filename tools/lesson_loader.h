#pragma once
// Loading a lesson folder for the revoziz commands.

#include <filesystem>
#include <memory>
#include <ostream>

#include "pagemodel/window_model.h"

namespace reVoziz::tools {

// The top window of LESSON/index.html with its frames; null, after a message
// on `err`, when the folder or its page cannot be read.
std::shared_ptr<pagemodel::WindowModel> loadLesson(const std::filesystem::path& lesson,
                                                   std::ostream& err);

}  // namespace reVoziz::tools
