#include "lessonmaking/lesson_publish.h"

#include <algorithm>

#include "lessonmaking/lesson_files.h"
#include "core/error.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kModuleFolder = "revoziz";
constexpr std::string_view kModuleFiles[] = {"revoziz.mjs", "revoziz.wasm", "lesson_host.js"};
constexpr std::string_view kRootAddress = "/revoziz/";

// Quoted "/revoziz/..." addresses, as a page written for the lesson server
// loads the module, become relative to the page.
std::string relativeModuleAddresses(std::string page, const std::string& upToRoot) {
  for (const char quote : {'"', '\''}) {
    const std::string from = quote + std::string(kRootAddress);
    const std::string to = quote + upToRoot + std::string(kModuleFolder) + '/';
    for (std::size_t at = page.find(from); at != std::string::npos; at = page.find(from, at + to.size())) {
      page.replace(at, from.size(), to);
    }
  }
  return page;
}

bool isInside(LessonFiles& files, const fs::path& inner, const fs::path& outer) {
  const fs::path a = files.resolved(inner);
  const fs::path b = files.resolved(outer);
  const auto [end, _] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
  return end == b.end();
}

void checkOptions(LessonFiles& files, const PublishOptions& options) {
  const fs::path index = options.lessonDir / "index.html";
  if (files.kind(index) != PathKind::File) throw Error(ErrorCode::FileNotFound, index.string() + ": no lesson page");
  if (files.read(index).find(std::string(kModuleFolder) + "/lesson_host.js") == std::string::npos) {
    throw Error(ErrorCode::InvalidArgument, index.string() + ": the page does not load revoziz/lesson_host.js");
  }
  for (std::string_view name : kModuleFiles) {
    if (files.kind(options.moduleDir / name) != PathKind::File) {
      throw Error(ErrorCode::FileNotFound, (options.moduleDir / name).string() +
                                               ": no browser module; build it with scripts/build-web");
    }
  }
  if (files.kind(options.outDir) != PathKind::None && !options.force) {
    throw Error(ErrorCode::FileAlreadyExists,
                options.outDir.string() + ": the folder exists; pass --force to write into it");
  }
  if (isInside(files, options.outDir, options.lessonDir)) {
    throw Error(ErrorCode::InvalidArgument, options.outDir.string() + ": the folder lies inside the lesson");
  }
}

// The files of `folder`, `depth` folders below the lesson's, into the same
// place below `outDir`. Linked files are copied (a linked video); linked
// folders are not entered, so a link to a folder above cannot loop.
void copyFolder(LessonFiles& files, const fs::path& folder, const fs::path& outDir, int depth) {
  files.makeFolders(outDir);
  for (const FolderEntry& entry : files.list(folder)) {
    const fs::path from = folder / entry.name;
    const fs::path to = outDir / entry.name;
    if (entry.kind == PathKind::Folder && !entry.link) {
      copyFolder(files, from, to, depth + 1);
    } else if (entry.kind == PathKind::File && fs::path(entry.name).extension() == ".html") {
      std::string upToRoot;
      for (int i = 0; i < depth; ++i) upToRoot += "../";
      files.write(to, relativeModuleAddresses(files.read(from), upToRoot.empty() ? "./" : upToRoot));
    } else if (entry.kind == PathKind::File) {
      files.copy(from, to);
    }
  }
}

}  // namespace

void publishLesson(LessonFiles& files, const PublishOptions& options) {
  checkOptions(files, options);
  copyFolder(files, options.lessonDir, options.outDir, 0);
  const fs::path moduleOut = options.outDir / kModuleFolder;
  files.makeFolders(moduleOut);
  for (const FolderEntry& entry : files.list(options.moduleDir)) {
    const std::string extension = fs::path(entry.name).extension().string();
    if (entry.kind == PathKind::File && (extension == ".js" || extension == ".mjs" || extension == ".wasm")) {
      files.copy(options.moduleDir / entry.name, moduleOut / entry.name);
    }
  }
}

}  // namespace reVoziz::lessonmaking
