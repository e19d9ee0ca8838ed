#pragma once
// The host's files on a POSIX system: what the page model and the revoziz
// command use.

#include "core/error.h"
#include "core/platform.h"

namespace reVoziz::pagemodel {

// The code a script caller knows for the system's error number `error` on a
// file: a name too long for the system counts as a path not found.
ErrorCode fileErrorCode(int error);

class PosixFileSystem : public FileSystem {
 public:
  std::unique_ptr<ReadableFile> openForReading(std::string_view path) override;
  std::unique_ptr<ReadableFile> openPrivateForReading(std::string_view path) override;
  std::unique_ptr<WritableFile> createExclusive(std::string_view path) override;
  // Read-only: no write bit at all. Writable: as access(2) judges for the
  // effective user, so an administrator may write others' files. A rename
  // loses the owner unless it is the user's or the user is root, the group
  // unless the user is root, in it or it is the user's own, and any access
  // list, extended attribute (but the security label, which a new file gets
  // from the system) or second link.
  FileStanding standing(std::string_view path) override;
  std::unique_ptr<WritableFile> openForOverwrite(std::string_view path) override;
  void rename(std::string_view from, std::string_view to) override;
  std::string linkTarget(std::string_view path) override;
  void remove(std::string_view path) override;
  // $TMPDIR, or /tmp.
  std::string temporaryFolder() override;
  // "rad" and sixteen random hexadecimal digits (64 bits), then ".tmp".
  std::string freshTemporaryName() override;
  std::string_view separator() const override { return "/"; }
};

}  // namespace reVoziz::pagemodel
