#include "core/platform.h"

#include "core/error.h"

namespace reVoziz {
namespace {

// The folder part of `path`, with its trailing separator; empty for a bare name.
// "/" separates on every host, besides the host's own separator.
std::string_view folderPrefix(const FileSystem& files, std::string_view path) {
  std::string separators = "/";
  separators += files.separator();
  const auto last = path.find_last_of(separators);
  return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

}  // namespace

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

void replaceFile(FileSystem& files, std::string_view path, std::string_view bytes) {
  replaceEntry(files, files.linkTarget(path), [&](WritableFile& file) { file.append(bytes); });
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
