#pragma once
// Loading pages from files: a top page with its frames, and a new address
// into an existing window.

#include <filesystem>
#include <memory>
#include <string_view>

namespace reVoziz::pagemodel {

class WindowModel;

// The top window of the page in `file`, with every <iframe> and <frame> loaded,
// relative to the file that holds it, as a child window of its name.
// Throws Error(FileNotFound) when a page cannot be read.
std::shared_ptr<WindowModel> loadPage(const std::filesystem::path& file);

// Loads `address` into `window`, relative to the page that holds the window.
void navigate(WindowModel& window, std::string_view address);

}  // namespace reVoziz::pagemodel
