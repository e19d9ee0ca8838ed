#pragma once
// The files of the lesson maker: every file that `lesson new`, `check` and
// `publish` read or write goes through here, so that each failure comes back
// as an Error that names the file, and tests can make any step fail.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lessonmaking/video_facts.h"

namespace reVoziz {
class FileSystem;
}

namespace reVoziz::lessonmaking {

enum class PathKind { None, File, Folder, Other };

struct FolderEntry {
  std::string name;
  PathKind kind = PathKind::None;  // of what the entry names once links are followed
  bool link = false;               // the entry itself is a symbolic link
};

// Each step raises Error with a file code (FileNotFound, PathNotFound,
// PermissionDenied, FileAlreadyExists) or HostError, and a message that
// begins with the path at fault.
class LessonFiles {
 public:
  virtual ~LessonFiles() = default;
  // The whole file.
  virtual std::string read(const std::filesystem::path& file) = 0;
  // Replaces what stands at `file` (a link itself, not the file it names, which
  // may lie outside the lesson) so that a failure at any step leaves the old
  // file as it was: the bytes go to a fresh file beside it, renamed over it.
  virtual void write(const std::filesystem::path& file, std::string_view bytes) = 0;
  // The same with the bytes of `from`, streamed, as a video can be large.
  virtual void copy(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
  // A symbolic link at `at` to `target`, replacing what stood there in one step.
  virtual void link(const std::filesystem::path& target, const std::filesystem::path& at) = 0;
  // The folder with any missing parents; one already there is fine, anything
  // else standing there is an error.
  virtual void makeFolders(const std::filesystem::path& folder) = 0;
  // The entries of `folder`, sorted by name.
  virtual std::vector<FolderEntry> list(const std::filesystem::path& folder) = 0;
  // What `path` names once links are followed; None when nothing stands there
  // or a folder on the way is missing or no folder.
  virtual PathKind kind(const std::filesystem::path& path) = 0;
  // `path` made absolute, with ".", ".." and links resolved as far as it exists.
  virtual std::filesystem::path resolved(const std::filesystem::path& path) = 0;
  // The host's files, for a control played through a lesson.
  virtual FileSystem& hostFiles() = 0;
  // What the video holds, as the media tools tell; none when they are not
  // installed.
  virtual std::optional<VideoFacts> probeVideo(const std::filesystem::path& video) = 0;
  // A copy of `from` that every browser plays (WebM, VP9 and Opus) at `to`,
  // telling `progress` the share done; `to` appears only once wholly made.
  virtual void transcodeVideo(const std::filesystem::path& from, const std::filesystem::path& to,
                              const std::function<void(double)>& progress) = 0;
};

}  // namespace reVoziz::lessonmaking
