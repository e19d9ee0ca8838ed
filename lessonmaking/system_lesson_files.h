#pragma once
// The lesson maker's files on the host: the host's FileSystem reads files and
// replaces them through a fresh file beside, std::filesystem answers the rest
// through its error_code overloads, so that no exception of its own escapes.

#include "lessonmaking/lesson_files.h"

namespace reVoziz::lessonmaking {

class SystemLessonFiles : public LessonFiles {
 public:
  explicit SystemLessonFiles(FileSystem& host) : host_(host) {}

  std::string read(const std::filesystem::path& file) override;
  void write(const std::filesystem::path& file, std::string_view bytes) override;
  void copy(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void link(const std::filesystem::path& target, const std::filesystem::path& at) override;
  void makeFolders(const std::filesystem::path& folder) override;
  std::vector<FolderEntry> list(const std::filesystem::path& folder) override;
  PathKind kind(const std::filesystem::path& path) override;
  std::filesystem::path resolved(const std::filesystem::path& path) override;
  FileSystem& hostFiles() override { return host_; }
  std::optional<VideoFacts> probeVideo(const std::filesystem::path& video) override;
  void transcodeVideo(const std::filesystem::path& from, const std::filesystem::path& to,
                      const std::function<void(double)>& progress) override;

 private:
  FileSystem& host_;
};

}  // namespace reVoziz::lessonmaking
