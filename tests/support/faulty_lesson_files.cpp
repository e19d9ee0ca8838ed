#include "support/faulty_lesson_files.h"

#include "core/error.h"

namespace reVoziz::testing {

namespace fs = std::filesystem;

void FaultyLessonFiles::step(LessonStep step, const fs::path& path) {
  calls_.push_back({step, path.string()});
  if (failing_ == calls_.size() - 1) {
    throw Error(ErrorCode::PermissionDenied, path.string() + ": injected failure");
  }
}

std::string FaultyLessonFiles::read(const fs::path& file) {
  step(LessonStep::Read, file);
  return target_.read(file);
}

void FaultyLessonFiles::write(const fs::path& file, std::string_view bytes) {
  step(LessonStep::Write, file);
  target_.write(file, bytes);
}

void FaultyLessonFiles::copy(const fs::path& from, const fs::path& to) {
  step(LessonStep::Copy, to);
  target_.copy(from, to);
}

void FaultyLessonFiles::link(const fs::path& target, const fs::path& at) {
  step(LessonStep::Link, at);
  target_.link(target, at);
}

void FaultyLessonFiles::makeFolders(const fs::path& folder) {
  step(LessonStep::MakeFolders, folder);
  target_.makeFolders(folder);
}

std::vector<lessonmaking::FolderEntry> FaultyLessonFiles::list(const fs::path& folder) {
  step(LessonStep::List, folder);
  return target_.list(folder);
}

lessonmaking::PathKind FaultyLessonFiles::kind(const fs::path& path) {
  step(LessonStep::Kind, path);
  return target_.kind(path);
}

fs::path FaultyLessonFiles::resolved(const fs::path& path) {
  step(LessonStep::Resolve, path);
  return target_.resolved(path);
}

}  // namespace reVoziz::testing
