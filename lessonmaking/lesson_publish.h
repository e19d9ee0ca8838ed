#pragma once
// `revoziz lesson publish`: a folder that holds the lesson together with the
// browser module and its scripts, all by relative addresses, so that any
// static server that answers byte ranges can serve it under any path prefix.

#include <filesystem>
#include <string>
#include <vector>

namespace reVoziz::lessonmaking {

class LessonFiles;

struct PublishOptions {
  std::filesystem::path lessonDir;
  std::filesystem::path outDir;
  std::filesystem::path moduleDir;  // revoziz.mjs, revoziz.wasm and the host scripts
  bool force = false;               // write into an existing folder
};

struct PublishReport {
  std::vector<std::filesystem::path> written;  // below OUT_DIR, in the order written
  std::vector<std::string> warnings;           // addresses that were left out, and why
};

// Ships what the lesson's pages use, from index.html on, and nothing else of
// the lesson's folder (sources, notes, version control). The module goes to
// OUT_DIR/revoziz/, and the pages' "/revoziz/" addresses become relative
// ones. Linked files (a linked video) are copied. Each file replaces its old
// one only once wholly written. Throws Error naming the file at fault.
PublishReport publishLesson(LessonFiles& files, const PublishOptions& options);

}  // namespace reVoziz::lessonmaking
