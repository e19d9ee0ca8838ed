#pragma once
// The host's files on Windows, through Win32. Paths are UTF-8 here and UTF-16
// for the system; the stored form of notes is the documents' business.

#include "core/platform.h"

namespace reVoziz::com {

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<ReadableFile> openForReading(std::string_view path) override;
  std::unique_ptr<ReadableFile> openPrivateForReading(std::string_view path) override;
  std::unique_ptr<WritableFile> createExclusive(std::string_view path) override;
  // Read-only: the read-only attribute. Writable: the file opens for writing.
  // ReplaceFileW keeps the rest, so a rename loses nothing.
  FileStanding standing(std::string_view path) override;
  // ReplaceFileW over an existing file, which keeps its security and attributes.
  void rename(std::string_view from, std::string_view to) override;
  std::string linkTarget(std::string_view path) override;
  void remove(std::string_view path) override;
  std::string temporaryFolder() override;
  std::string freshTemporaryName() override;
  std::string_view separator() const override { return "\\"; }
};

}  // namespace reVoziz::com
