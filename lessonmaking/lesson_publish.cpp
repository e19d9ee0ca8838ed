#include "lessonmaking/lesson_publish.h"

#include <fstream>
#include <sstream>

#include "core/error.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kModuleFolder = "revoziz";
constexpr std::string_view kModuleFiles[] = {"revoziz.mjs", "revoziz.wasm", "lesson_host.js"};
constexpr std::string_view kRootAddress = "/revoziz/";

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw Error(ErrorCode::FileNotFound, file.string() + ": cannot read the file");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) throw Error(ErrorCode::PermissionDenied, file.string() + ": cannot write the file");
}

void copyFile(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::create_directories(to.parent_path(), ec);
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
  if (ec) throw Error(ErrorCode::PermissionDenied, to.string() + ": cannot copy " + from.string() + ": " + ec.message());
}

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

bool isInside(const fs::path& inner, const fs::path& outer) {
  const fs::path a = fs::weakly_canonical(inner);
  const fs::path b = fs::weakly_canonical(outer);
  const auto [end, _] = std::mismatch(b.begin(), b.end(), a.begin(), a.end());
  return end == b.end();
}

void checkOptions(const PublishOptions& options) {
  const fs::path index = options.lessonDir / "index.html";
  if (!fs::is_regular_file(index)) throw Error(ErrorCode::FileNotFound, index.string() + ": no lesson page");
  if (readFile(index).find(std::string(kModuleFolder) + "/lesson_host.js") == std::string::npos) {
    throw Error(ErrorCode::InvalidArgument, index.string() + ": the page does not load revoziz/lesson_host.js");
  }
  for (std::string_view name : kModuleFiles) {
    if (!fs::is_regular_file(options.moduleDir / name)) {
      throw Error(ErrorCode::FileNotFound, (options.moduleDir / name).string() +
                                               ": no browser module; build it with scripts/build-web");
    }
  }
  if (fs::exists(options.outDir) && !options.force) {
    throw Error(ErrorCode::FileAlreadyExists,
                options.outDir.string() + ": the folder exists; pass --force to write into it");
  }
  if (isInside(options.outDir, options.lessonDir)) {
    throw Error(ErrorCode::InvalidArgument, options.outDir.string() + ": the folder lies inside the lesson");
  }
}

void copyLesson(const PublishOptions& options) {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(options.lessonDir, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (!fs::is_regular_file(it->path())) continue;  // follows links, so a linked video is copied
    const fs::path relative = it->path().lexically_relative(options.lessonDir);
    const fs::path target = options.outDir / relative;
    if (relative.extension() == ".html") {
      std::string upToRoot;
      for (std::size_t depth = std::distance(relative.begin(), relative.end()); depth > 1; --depth) upToRoot += "../";
      fs::create_directories(target.parent_path());
      writeFile(target, relativeModuleAddresses(readFile(it->path()), upToRoot.empty() ? "./" : upToRoot));
    } else {
      copyFile(it->path(), target);
    }
  }
  if (ec) throw Error(ErrorCode::PathNotFound, options.lessonDir.string() + ": " + ec.message());
}

}  // namespace

void publishLesson(const PublishOptions& options) {
  checkOptions(options);
  copyLesson(options);
  for (const auto& entry : fs::directory_iterator(options.moduleDir)) {
    const fs::path name = entry.path().filename();
    const std::string extension = name.extension().string();
    if (entry.is_regular_file() && (extension == ".js" || extension == ".mjs" || extension == ".wasm")) {
      copyFile(entry.path(), options.outDir / kModuleFolder / name);
    }
  }
}

}  // namespace reVoziz::lessonmaking
