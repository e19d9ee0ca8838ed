#pragma once
// Loading pages from files: a top page with its frames, and a new address
// into an existing window.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace reVoziz::pagemodel {

class WindowModel;

// The top window of the page in `file`, with every <iframe> and <frame> loaded,
// relative to the file that holds it, as a child window of its name.
// Throws Error(FileNotFound) when a page cannot be read.
std::shared_ptr<WindowModel> loadPage(const std::filesystem::path& file);

// The bytes of a page's file; throws Error naming the file when it cannot.
using PageReader = std::function<std::string(const std::filesystem::path&)>;

// The same with every page read by `read`. A later navigate reads by itself.
std::shared_ptr<WindowModel> loadPage(const std::filesystem::path& file, const PageReader& read);

// Loads `address` into `window`, relative to the page that holds the window.
void navigate(WindowModel& window, std::string_view address);

}  // namespace reVoziz::pagemodel
