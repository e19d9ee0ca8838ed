#include "lessonmaking/lesson_publish.h"

#include <algorithm>
#include <iterator>

#include "core/error.h"
#include "lessonmaking/lesson_files.h"
#include "lessonmaking/page_addresses.h"
#include "pagemodel/html_parser.h"

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
      throw Error(ErrorCode::FileNotFound,
                  (options.moduleDir / name).string() + ": no browser module; build it with scripts/build-web");
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

bool isPage(const fs::path& file) {
  const std::string extension = file.extension().string();
  return extension == ".html" || extension == ".htm";
}

// The lesson's files from its lesson page on, each once, in the order found:
// a page, then what it uses. Addresses that lead nowhere in the lesson are
// warned of and left out.
class LessonWalk {
 public:
  LessonWalk(LessonFiles& files, const fs::path& lessonDir, PublishReport& report)
      : files_(files), lessonDir_(lessonDir), report_(report) {}

  std::vector<fs::path> filesFrom(const fs::path& page) {
    add(page);
    for (std::size_t i = 0; i < found_.size(); ++i) {
      if (isPage(found_[i])) follow(found_[i]);
    }
    return found_;
  }

 private:
  void add(const fs::path& relative) {
    if (std::find(found_.begin(), found_.end(), relative) == found_.end()) found_.push_back(relative);
  }

  // `page` is a copy: adding to found_ may move its entries.
  void follow(fs::path page) {
    for (const PageAddress& used : localAddressesOf(pagemodel::parseDocument(files_.read(lessonDir_ / page)))) {
      const fs::path file = fileOfAddress(page, used.address).lexically_normal();
      const std::string where = page.generic_string() + ": " + used.address;
      if (file.empty()) {
        report_.warnings.push_back(where + " is an address on the server's root; not published");
      } else if (file.begin() != file.end() && *file.begin() == "..") {
        report_.warnings.push_back(where + " lies outside the lesson; not published");
      } else if (files_.kind(lessonDir_ / file) != PathKind::File) {
        report_.warnings.push_back(where + " does not exist; not published");
      } else {
        add(file);
      }
    }
  }

  LessonFiles& files_;
  const fs::path& lessonDir_;
  PublishReport& report_;
  std::vector<fs::path> found_;
};

// "../" once for each folder `file` lies below the lesson's.
std::string upToRoot(const fs::path& file) {
  std::string up;
  for (auto part = file.begin(); part != file.end() && std::next(part) != file.end(); ++part) up += "../";
  return up.empty() ? "./" : up;
}

}  // namespace

PublishReport publishLesson(LessonFiles& files, const PublishOptions& options) {
  checkOptions(files, options);
  PublishReport report;
  for (const fs::path& file : LessonWalk(files, options.lessonDir, report).filesFrom("index.html")) {
    files.makeFolders((options.outDir / file).parent_path());
    if (isPage(file)) {
      files.write(options.outDir / file, relativeModuleAddresses(files.read(options.lessonDir / file), upToRoot(file)));
    } else {
      // A linked file (a linked video) is copied, so the folder stands on its
      // own.
      files.copy(options.lessonDir / file, options.outDir / file);
    }
    report.written.push_back(file);
  }
  const fs::path moduleOut = options.outDir / kModuleFolder;
  files.makeFolders(moduleOut);
  for (const FolderEntry& entry : files.list(options.moduleDir)) {
    const std::string extension = fs::path(entry.name).extension().string();
    if (entry.kind == PathKind::File && (extension == ".js" || extension == ".mjs" || extension == ".wasm")) {
      files.copy(options.moduleDir / entry.name, moduleOut / entry.name);
      report.written.push_back(fs::path(kModuleFolder) / entry.name);
    }
  }
  return report;
}

}  // namespace reVoziz::lessonmaking
