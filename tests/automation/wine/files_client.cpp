// The Win32 files of the Windows host under Wine: reading, exclusive creation,
// the safe replace, file codes, and the temporary folder. Prints failures and
// a summary, exits 1 when any check failed.

#include <windows.h>

#include <functional>
#include <iostream>
#include <string>

#include "automation/com/com_text.h"
#include "automation/com/win32_file_system.h"
#include "checks.h"
#include "core/error.h"

namespace {

using reVoziz::Error;
using reVoziz::ErrorCode;

using reVoziz::wine::check;

// The code of the Error that `step` raises; 0 when it raises none.
int failureOf(const std::function<void()>& step) {
  try {
    step();
  } catch (const Error& e) {
    return static_cast<int>(e.code());
  }
  return 0;
}

std::string readAll(reVoziz::FileSystem& files, const std::string& path) {
  return files.openForReading(path)->readAll();
}

void write(reVoziz::FileSystem& files, const std::string& path, const std::string& bytes) {
  auto file = files.createExclusive(path);
  file->append(bytes);
  file->flush();
  file->close();
}

}  // namespace

int wmain() {
  reVoziz::com::Win32FileSystem files;
  const std::string temp = files.temporaryFolder();
  check(!temp.empty() && temp.back() != '\\', "temporary folder without a trailing separator");
  const DWORD attributes = GetFileAttributesA(temp.c_str());
  check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY), "temporary folder exists");
  const std::string name = files.freshTemporaryName();
  check(name.find('\\') == std::string::npos && name != files.freshTemporaryName(), "fresh bare names");

  const std::string folder = reVoziz::joinPath(files, temp, name);
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = reVoziz::joinPath(files, folder, "notes ñ.notes");
  const std::string bytes = std::string("caf\xE9 \r\n", 7) + std::string(100000, 'x');
  write(files, path, bytes);
  check(readAll(files, path) == bytes, "bytes read back as written, under a non-ASCII name");
  check(failureOf([&] { files.createExclusive(path); }) == static_cast<int>(ErrorCode::FileAlreadyExists),
        "exclusive creation fails on an existing file");
  check(readAll(files, path) == bytes, "the existing file is left alone");

  reVoziz::replaceFile(files, path, "new");
  check(readAll(files, path) == "new", "replaceFile replaces");
  const std::string other = reVoziz::joinPath(files, folder, "other");
  write(files, other, "other");
  files.rename(other, path);
  check(readAll(files, path) == "other", "rename moves over an existing file");
  check(failureOf([&] { files.openForReading(other); }) == static_cast<int>(ErrorCode::FileNotFound),
        "a missing file: 53");
  check(failureOf([&] { files.openForReading(folder + "\\nosuch\\file"); }) ==
            static_cast<int>(ErrorCode::PathNotFound),
        "a missing folder: 76");

  // A replaced file keeps its attributes; a private file opens only while ours alone.
  SetFileAttributesW(reVoziz::com::wide(path).c_str(), FILE_ATTRIBUTE_HIDDEN);
  reVoziz::replaceFile(files, path, "kept hidden");
  check(readAll(files, path) == "kept hidden", "replaceFile over an existing file replaces its content");
  const DWORD kept = GetFileAttributesW(reVoziz::com::wide(path).c_str());
  check(kept != INVALID_FILE_ATTRIBUTES && (kept & FILE_ATTRIBUTE_HIDDEN), "the replaced file stays hidden");
  SetFileAttributesW(reVoziz::com::wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string fresh = reVoziz::joinPath(files, folder, "fresh.notes");
  reVoziz::replaceFile(files, fresh, "new file");
  check(readAll(files, fresh) == "new file", "replaceFile makes a new file");
  const std::string own = reVoziz::joinPath(files, folder, "own");
  write(files, own, "mine");
  check(files.openPrivateForReading(own)->readAll() == "mine", "an owner-only file of ours opens as private");
  check(failureOf([&] { files.openPrivateForReading(fresh); }) == static_cast<int>(ErrorCode::PermissionDenied),
        "a file with the folder's access is not private");
  files.remove(own);
  files.remove(fresh);

  files.remove(path);
  check(failureOf([&] { files.remove(path); }) == static_cast<int>(ErrorCode::FileNotFound), "removed");
  RemoveDirectoryA(folder.c_str());

  return reVoziz::wine::summary("file");
}
