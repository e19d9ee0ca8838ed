#include "core/platform.h"

#include "core/error.h"
#include "core/in_place_save.h"

namespace reVoziz {

std::string_view folderPrefix(const FileSystem& files, std::string_view path) {
  // "/" separates on every host, besides the host's own separator.
  std::string separators = "/";
  separators += files.separator();
  const auto last = path.find_last_of(separators);
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string joinPath(const FileSystem& files, std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += files.separator();
  path += name;
  return path;
}

FreshFile createFreshFile(FileSystem& files, std::string_view prefix) {
  // With 64 random bits a taken name means a planted file far more often
  // than chance; a few more tries get past one without looping on many.
  constexpr int kTries = 8;
  for (int attempt = 1;; ++attempt) {
    std::string name = files.freshTemporaryName();
    try {
      return {files.createExclusive(std::string(prefix) + name), std::move(name)};
    } catch (const Error& e) {
      if (e.code() != ErrorCode::FileAlreadyExists || attempt == kTries) throw;
    }
  }
}

std::unique_ptr<WritableFile> FileSystem::openForOverwrite(std::string_view path) {
  throw Error(ErrorCode::HostError, "This host cannot write a file where it stands: " + std::string(path));
}

void replaceFile(FileSystem& files, std::string_view path, std::string_view bytes) {
  const std::string target = files.linkTarget(path);
  const FileStanding standing = files.standing(target);
  refuseUnwritable(standing, target);
  if (standing.exists && !standing.renameLoses.empty()) {
    overwriteInPlace(files, target, bytes);
    return;
  }
  replaceEntry(files, target, [&](WritableFile& file) { file.append(bytes); });
}

void replaceEntry(FileSystem& files, std::string_view path, const std::function<void(WritableFile&)>& fill) {
  const std::string prefix(folderPrefix(files, path));
  FreshFile fresh = createFreshFile(files, prefix);
  const std::string temporary = prefix + fresh.name;
  try {
    fill(*fresh.file);
    fresh.file->flush();
    fresh.file->close();
    files.rename(temporary, path);
  } catch (const Error&) {
    // The old file was never touched; only the fresh one goes.
    fresh.file.reset();
    try {
      files.remove(temporary);
    } catch (const Error&) {
      // Dropped by design: the first failure is the one to report.
    }
    throw;
  }
}

}  // namespace reVoziz
