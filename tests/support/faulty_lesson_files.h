#pragma once
// Lesson files that forward to others, record every call and fail a chosen
// one, so tests can see what a failure at each step of making or publishing a
// lesson leaves behind and what it reports.

#include <optional>
#include <string>
#include <vector>

#include "lessonmaking/lesson_files.h"

namespace reVoziz::testing {

enum class LessonStep { Read, Write, Copy, Link, MakeFolders, List, Kind, Resolve };

struct LessonCall {
  LessonStep step;
  std::string path;  // the file the step works on: for a copy or link, the new one
};

class FaultyLessonFiles : public lessonmaking::LessonFiles {
 public:
  explicit FaultyLessonFiles(lessonmaking::LessonFiles& target) : target_(target) {}

  // The call with this index among all calls, counted from 0, fails with
  // Error(PermissionDenied, "PATH: injected failure"), doing nothing.
  void failCall(std::size_t index) { failing_ = index; }
  // Every call so far, failed or not, in order.
  const std::vector<LessonCall>& calls() const { return calls_; }

  std::string read(const std::filesystem::path& file) override;
  void write(const std::filesystem::path& file, std::string_view bytes) override;
  void copy(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void link(const std::filesystem::path& target, const std::filesystem::path& at) override;
  void makeFolders(const std::filesystem::path& folder) override;
  std::vector<lessonmaking::FolderEntry> list(const std::filesystem::path& folder) override;
  lessonmaking::PathKind kind(const std::filesystem::path& path) override;
  std::filesystem::path resolved(const std::filesystem::path& path) override;
  FileSystem& hostFiles() override { return target_.hostFiles(); }
  std::optional<lessonmaking::VideoFacts> probeVideo(const std::filesystem::path& video) override {
    return target_.probeVideo(video);
  }
  void transcodeVideo(const std::filesystem::path& from, const std::filesystem::path& to,
                      const std::function<void(double)>& progress) override {
    target_.transcodeVideo(from, to, progress);
  }

 private:
  // Records the call and raises the injected error when it is the one to fail.
  void step(LessonStep step, const std::filesystem::path& path);

  lessonmaking::LessonFiles& target_;
  std::optional<std::size_t> failing_;
  std::vector<LessonCall> calls_;
};

}  // namespace reVoziz::testing
