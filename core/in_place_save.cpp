#include "core/in_place_save.h"

#include <string>

#include "core/error.h"

namespace reVoziz {
namespace {

Error refusal(std::string_view why, std::string_view path) {
  return Error(ErrorCode::PermissionDenied, "Permission denied: " + std::string(why) + ": " + std::string(path));
}

// Writes `bytes` over `path` and reads them back.
void writeOver(FileSystem& files, std::string_view path, std::string_view bytes) {
  {
    auto file = files.openForOverwrite(path);
    file->append(bytes);
    file->flush();
    file->close();
  }
  if (files.openForReading(path)->readAll() != bytes) {
    throw Error(ErrorCode::HostError, "The file did not read back as written: " + std::string(path));
  }
}

// A fresh copy of `bytes` beside `path`, or in the temporary folder when
// that folder takes no new file; answers its path.
std::string writeCopy(FileSystem& files, std::string_view path, std::string_view bytes) {
  std::string prefix(folderPrefix(files, path));
  FreshFile copy = [&] {
    try {
      return createFreshFile(files, prefix);
    } catch (const Error& e) {
      if (e.code() != ErrorCode::PermissionDenied) throw;
      prefix = joinPath(files, files.temporaryFolder(), "");
      return createFreshFile(files, prefix);
    }
  }();
  const std::string copyPath = prefix + copy.name;
  try {
    copy.file->append(bytes);
    copy.file->flush();
    copy.file->close();
  } catch (const Error&) {
    copy.file.reset();
    files.remove(copyPath);
    throw;
  }
  return copyPath;
}

void removeQuietly(FileSystem& files, std::string_view path) {
  try {
    files.remove(path);
  } catch (const Error&) {
    // Dropped by design: the save's own outcome is the one to report.
  }
}

}  // namespace

Error notAPlainFile(std::string_view path) { return refusal("not a plain file (a folder, pipe or device)", path); }

void refuseUnwritable(const FileStanding& standing, std::string_view path) {
  if (!standing.exists) return;
  if (!standing.regular) throw notAPlainFile(path);
  if (standing.readOnly) throw refusal("the file is read-only", path);
  if (!standing.writable) throw refusal("the user may not write the file", path);
}

void overwriteInPlace(FileSystem& files, std::string_view path, std::string_view bytes) {
  const std::string old = files.openForReading(path)->readAll();
  const std::string copy = writeCopy(files, path, old);
  try {
    writeOver(files, path, bytes);
  } catch (const Error& e) {
    try {
      writeOver(files, path, old);
    } catch (const Error&) {
      throw Error(e.code(), std::string(e.what()) + "; the old content could not be put back and is kept in " + copy);
    }
    removeQuietly(files, copy);
    throw;
  }
  removeQuietly(files, copy);
}

}  // namespace reVoziz
