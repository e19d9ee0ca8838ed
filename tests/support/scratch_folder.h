#pragma once
// A fresh folder of its own for one test, removed with everything in it when
// the test ends.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace reVoziz::testing {

class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  const std::filesystem::path& path() const { return path_; }
  std::string file(std::string_view name) const { return (path_ / name).string(); }
  // Writes `bytes` to the file `name` of the folder and gives its path.
  std::string write(std::string_view name, std::string_view bytes) const;
  // The bytes of the file `name` of the folder.
  std::string read(std::string_view name) const;
  // The names in the folder, sorted.
  std::vector<std::string> names() const;

 private:
  std::filesystem::path path_;
};

}  // namespace reVoziz::testing
