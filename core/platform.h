#pragma once
// Platform services that a host hands to the control: its timer, its file
// dialog and the host's files. The page model supplies a manual clock, a
// scripted dialog and POSIX files; a browser supplies setInterval, file
// pickers and the origin-private file system.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/rounding.h"

namespace reVoziz {

class Object;

// What a tick that found every list as before, and wrote nothing, leaves for
// the ticks after it: while each document's change stamp stays as listed and
// the player's controls.currentPosition is a number within `positions`, a tick
// would read the same and write nothing again, so the timer may skip it.
struct QuietTicks {
  struct Stamped {
    std::shared_ptr<Object> document;
    std::uint64_t stamp;
  };
  std::vector<Stamped> documents;
  std::shared_ptr<Object> player;
  RealSpan positions;
};

class Timer {
 public:
  virtual ~Timer() = default;
  // Milliseconds between ticks; 0 stops the timer. Setting a new interval
  // restarts the count, so the first tick comes one interval later.
  virtual void setInterval(std::int32_t ms) = 0;
  virtual std::int32_t interval() const = 0;
  virtual void onTick(std::function<void()> tick) = 0;
  // The ticks may be skipped while `quiet` holds; an empty one, or a new
  // interval, ends that. A timer that cannot tell may tick on regardless.
  virtual void restWhile(std::optional<QuietTicks> quiet) { (void)quiet; }
};

// A common file dialog: blocks until the user picks a file. A cancel raises
// Error(DialogCancelled, "Cancel was selected.") and leaves fileName as it was.
// The preset name and the filter live here; a host supplies only the picking.
class FileDialog {
 public:
  virtual ~FileDialog() = default;
  const std::string& fileName() const { return fileName_; }
  void setFileName(std::string_view name) { fileName_ = name; }
  const std::string& filter() const { return filter_; }
  void setFilter(std::string_view filter) { filter_ = filter; }
  void showOpen() { fileName_ = pick(Purpose::Open); }
  void showSave() { fileName_ = pick(Purpose::Save); }

 protected:
  enum class Purpose { Open, Save };
  // Shows the dialog preset with fileName() and filter(), and answers the
  // chosen path; throws to cancel or fail.
  virtual std::string pick(Purpose purpose) = 0;

 private:
  std::string fileName_;
  std::string filter_;
};

// A file being read; closed when destroyed.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // The rest of the file's bytes, as stored.
  virtual std::string readAll() = 0;
};

// A file being written. Data is only known to be stored once flush and close
// have both succeeded; destroying an open file closes it and drops any error.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual void append(std::string_view bytes) = 0;
  // Pushes what was appended to the storage device.
  virtual void flush() = 0;
  virtual void close() = 0;
};

// What a save must know of the file that stands at a path before it replaces
// it. A host that cannot tell answers the default: a save then takes the
// rename road, as over a new file.
struct FileStanding {
  bool exists = false;
  // A plain file: no folder, pipe or device.
  bool regular = true;
  // Marked read-only: no write permission for anyone, or the read-only attribute.
  bool readOnly = false;
  // The user may write it.
  bool writable = true;
  // What a fresh file renamed over it would lose ("owner", "group", "access
  // list", "extended attributes", "hard links"); empty when nothing.
  std::vector<std::string> renameLoses;
};

// The host's files, as small primitive steps, each raising an Error with a
// file code (FileNotFound, PathNotFound, PermissionDenied, FileAlreadyExists)
// or HostError. Paths are the host's own; `separator` joins a folder and a name.
class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual std::unique_ptr<ReadableFile> openForReading(std::string_view path) = 0;
  // The same for a file that must still be the one this process made in a
  // folder others may write: fails with PermissionDenied when `path` is a
  // link, belongs to someone else or lets others reach it.
  virtual std::unique_ptr<ReadableFile> openPrivateForReading(std::string_view path) = 0;
  // A new file that only its owner may read or write. Fails when anything,
  // even a link, already stands under that path, so nothing planted there
  // can redirect the write.
  virtual std::unique_ptr<WritableFile> createExclusive(std::string_view path) = 0;
  // Moves the fresh file `from` onto `to` in one step. An existing `to` keeps
  // all but its content: its permissions, and its owner where the process
  // may set it (on Windows, its security and attributes). A new `to` gets
  // what a new file of the user gets.
  virtual void rename(std::string_view from, std::string_view to) = 0;
  // How the file at `path`, with no link in its last step, stands for a save.
  virtual FileStanding standing(std::string_view path) {
    (void)path;
    return {};
  }
  // The existing plain file `path`, emptied, to be written over where it
  // stands; never waits on a pipe, and fails with PermissionDenied on anything
  // but a plain file.
  virtual std::unique_ptr<WritableFile> openForOverwrite(std::string_view path);
  // The file `path` names once symbolic links are followed; `path` itself
  // when it is no link. A save replaces that file, so a link stays a link.
  virtual std::string linkTarget(std::string_view path) = 0;
  virtual void remove(std::string_view path) = 0;
  // The folder for temporary files, without a trailing separator.
  virtual std::string temporaryFolder() = 0;
  // A bare name, without folder, that no file of the temporary folder is
  // likely to have: at least 64 random bits.
  virtual std::string freshTemporaryName() = 0;
  virtual std::string_view separator() const = 0;
};

// `folder` and `name` joined with the host's separator.
std::string joinPath(const FileSystem& files, std::string_view folder, std::string_view name);

// The folder part of `path`, with its trailing separator; empty for a bare name.
std::string_view folderPrefix(const FileSystem& files, std::string_view path);

// A new file made with createExclusive, named by `prefix` (a folder and its
// separator, or nothing) and a fresh temporary name; a name that someone
// already holds is given up for another.
struct FreshFile {
  std::unique_ptr<WritableFile> file;
  std::string name;  // without the prefix
};
FreshFile createFreshFile(FileSystem& files, std::string_view prefix);

// Replaces the file at `path` with `bytes` so that a failure at any step leaves
// the old file as it was: the bytes go to a fresh file beside the file that
// `path` names (beside a link's target), which is flushed, closed and then
// renamed over it, taking the old file's permissions. A file the user may not
// write, or no plain file, is refused with PermissionDenied and left alone. A
// file that a rename would strip of its owner, group, access lists, extended
// attributes or hard links is written where it stands instead (see
// overwriteInPlace).
void replaceFile(FileSystem& files, std::string_view path, std::string_view bytes);

// The same for whatever stands at `path` itself, a link included, with the
// bytes that `fill` appends to the fresh file.
void replaceEntry(FileSystem& files, std::string_view path, const std::function<void(WritableFile&)>& fill);

class Platform {
 public:
  virtual ~Platform() = default;
  // Each control owns its timer and its dialog.
  virtual std::unique_ptr<Timer> createTimer() = 0;
  virtual std::unique_ptr<FileDialog> createFileDialog() = 0;
  // The host's files, shared by every control of the host.
  virtual FileSystem& fileSystem() = 0;
  // A number that moves whenever anything changes in the document that holds
  // `node` that can change what the control reads of a list or looks up: which
  // segments are displayed, their order and tq_start, the list's settings, the
  // elements and frames found by id or name; so any change of its style
  // sheets or layout, and a navigation that replaced it in its window. A host
  // may move it for any other change too. No two documents share one. While it
  // stays put, what the control read from that document may be used again.
  // Empty when the host cannot tell, so that everything is read afresh.
  virtual std::optional<std::uint64_t> changeStamp(const Object& node) {
    (void)node;
    return std::nullopt;
  }
  // The same for a node that may be unset, which has none.
  std::optional<std::uint64_t> changeStampOf(const std::shared_ptr<Object>& node) {
    return node ? changeStamp(*node) : std::nullopt;
  }
};

}  // namespace reVoziz
