#include "lessonmaking/system_lesson_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

#include "core/error.h"
#include "core/platform.h"
#include "lessonmaking/media_tools.h"
#include "pagemodel/posix_file_system.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kCopyChunk = 1 << 20;

// What failed, on which file, and why: "FILE: cannot DOING: WHY".
Error failure(ErrorCode code, const fs::path& file, std::string_view doing, std::string_view why) {
  return Error(code, file.string() + ": cannot " + std::string(doing) + ": " + std::string(why));
}

Error failure(const std::error_code& ec, const fs::path& file, std::string_view doing) {
  return failure(pagemodel::fileErrorCode(ec.value()), file, doing, ec.message());
}

Error failure(const Error& cause, const fs::path& file, std::string_view doing) {
  return failure(cause.code(), file, doing, cause.what());
}

std::error_code lastError() { return {errno, std::generic_category()}; }

using OpenFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

}  // namespace

std::string SystemLessonFiles::read(const fs::path& file) {
  try {
    return host_.openForReading(file.string())->readAll();
  } catch (const Error& e) {
    throw failure(e, file, "read the file");
  }
}

void SystemLessonFiles::write(const fs::path& file, std::string_view bytes) {
  try {
    replaceEntry(host_, file.string(), [&](WritableFile& out) { out.append(bytes); });
  } catch (const Error& e) {
    throw failure(e, file, "write the file");
  }
}

void SystemLessonFiles::copy(const fs::path& from, const fs::path& to) {
  const OpenFile in(std::fopen(from.c_str(), "rb"), &std::fclose);
  if (!in) throw failure(lastError(), from, "read the file");
  // A failure to read the source names the source, any other the copy.
  std::optional<Error> readFailure;
  try {
    replaceEntry(host_, to.string(), [&](WritableFile& out) {
      std::string chunk(kCopyChunk, '\0');
      while (true) {
        const std::size_t n = std::fread(chunk.data(), 1, chunk.size(), in.get());
        out.append(std::string_view(chunk).substr(0, n));
        if (n == chunk.size()) continue;
        if (!std::ferror(in.get())) return;
        readFailure = failure(lastError(), from, "read the file");
        throw *readFailure;
      }
    });
  } catch (const Error& e) {
    if (readFailure) throw;
    throw failure(e, to, "write the copy of " + from.string());
  }
}

void SystemLessonFiles::link(const fs::path& target, const fs::path& at) {
  const fs::path fresh = at.parent_path() / host_.freshTemporaryName();
  std::error_code ec;
  fs::create_symlink(target, fresh, ec);
  if (!ec) fs::rename(fresh, at, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(fresh, ignored);
    throw failure(ec, at, "make the link");
  }
}

void SystemLessonFiles::makeFolders(const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw failure(ec, folder, "make the folder");
}

std::vector<FolderEntry> SystemLessonFiles::list(const fs::path& folder) {
  std::vector<FolderEntry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code linkError;
    const bool link = it->is_symlink(linkError);
    if (linkError) throw failure(linkError, it->path(), "reach it");
    entries.push_back({it->path().filename().string(), kind(it->path()), link});
  }
  if (ec) throw failure(ec, folder, "list the folder");
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return entries;
}

PathKind SystemLessonFiles::kind(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  // A missing file, or a missing folder or a file on the way, is nothing there.
  if (status.type() == fs::file_type::not_found) return PathKind::None;
  if (ec) throw failure(ec, path, "reach it");
  switch (status.type()) {
    case fs::file_type::regular:
      return PathKind::File;
    case fs::file_type::directory:
      return PathKind::Folder;
    default:
      return PathKind::Other;
  }
}

fs::path SystemLessonFiles::resolved(const fs::path& path) {
  std::error_code ec;
  fs::path absolute = fs::absolute(path, ec);
  if (!ec) absolute = fs::weakly_canonical(absolute, ec);
  if (ec) throw failure(ec, path, "resolve the path");
  return absolute;
}

std::optional<VideoFacts> SystemLessonFiles::probeVideo(const fs::path& video) { return probeWithFfprobe(video); }

void SystemLessonFiles::transcodeVideo(const fs::path& from, const fs::path& to,
                                       const std::function<void(double)>& progress) {
  transcodeWithFfmpeg(from, to, progress);
}

}  // namespace reVoziz::lessonmaking
