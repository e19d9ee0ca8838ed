#pragma once
// Saving over a file that a rename would change in more than its content:
// the refusals that come first, and the write where the file stands.

#include <string_view>

#include "core/error.h"
#include "core/platform.h"

namespace reVoziz {

// The refusal of a save over what is no plain file.
Error notAPlainFile(std::string_view path);

// Raises PermissionDenied, naming `path`, for a file that exists but is no
// plain file, is marked read-only or may not be written by the user. The
// read-only mark holds even for an administrator whom the system would let
// write: it is the owner's word that the file stays as it is.
void refuseUnwritable(const FileStanding& standing, std::string_view path);

// Writes `bytes` over the existing plain file `path` where it stands, so that
// it keeps its owner, group, access lists, attributes and links. Its old
// content goes to a fresh owner-only copy beside it first (in the temporary
// folder when its own folder takes no new file); the file is then emptied,
// written, flushed and read back. When any of that fails the old content is
// written back and the failure raised; when even that fails, the message
// names the copy, which is kept. A good save removes the copy.
void overwriteInPlace(FileSystem& files, std::string_view path, std::string_view bytes);

}  // namespace reVoziz
