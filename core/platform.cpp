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

void replaceFile(FileSystem& files, std::string_view path, std::string_view bytes) {
  std::string temporary(folderPrefix(files, path));
  temporary += files.freshTemporaryName();
  std::unique_ptr<WritableFile> file = files.createExclusive(temporary);
  try {
    file->append(bytes);
    file->flush();
    file->close();
    files.rename(temporary, path);
  } catch (const Error&) {
    // The old file was never touched; only the fresh one goes.
    file.reset();
    try {
      files.remove(temporary);
    } catch (const Error&) {
      // Dropped by design: the first failure is the one to report.
    }
    throw;
  }
}

}  // namespace reVoziz
