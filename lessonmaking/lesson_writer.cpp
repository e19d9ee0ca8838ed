#include "lessonmaking/lesson_writer.h"

#include <fstream>
#include <set>

#include "lessonmaking/lesson_assets.h"
#include "lessonmaking/lesson_pages.h"
#include "core/error.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;

bool isLanguageCode(const std::string& language) {
  if (language.empty() || language.size() > 35) return false;
  for (const char c : language) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!ok) return false;
  }
  return true;
}

void writeFile(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw Error(ErrorCode::PermissionDenied, file.string() + ": cannot write the file");
}

void checkOptions(const NewLessonOptions& options) {
  if (options.captions.empty()) {
    throw Error(ErrorCode::InvalidArgument, "a lesson needs at least one --captions LANG=FILE");
  }
  std::set<std::string> languages;
  for (const CaptionsSource& source : options.captions) {
    if (!isLanguageCode(source.language)) {
      throw Error(ErrorCode::InvalidArgument,
                  "--captions: the language must be letters, digits and \"-\", not \"" +
                      source.language + "\"");
    }
    if (!languages.insert(source.language).second) {
      throw Error(ErrorCode::InvalidArgument, "--captions: the language " + source.language +
                                                  " is given twice");
    }
  }
  if (!fs::is_regular_file(options.video)) {
    throw Error(ErrorCode::FileNotFound, options.video.string() + ": no such video file");
  }
  if (fs::exists(options.outDir) && !options.force) {
    throw Error(ErrorCode::FileAlreadyExists,
                options.outDir.string() + ": the folder exists; pass --force to write into it");
  }
}

LessonPlan planLesson(const NewLessonOptions& options) {
  LessonPlan plan;
  plan.title = options.title ? *options.title : options.video.stem().string();
  plan.videoAddress = addressOfFileName(options.video.filename().string());
  std::optional<Captions> firstCaptions;
  for (const CaptionsSource& source : options.captions) {
    Captions captions = captions::readCaptionsFile(source.file);
    plan.transcripts.push_back({source.language, segmentsOf(captions, source.file.string())});
    if (!firstCaptions) firstCaptions = std::move(captions);
  }
  if (options.chapters) {
    plan.toc = chapterEntries(captions::readCaptionsFile(*options.chapters), options.chapters->string());
  } else {
    plan.toc = pauseEntries(*firstCaptions);
  }
  return plan;
}

void placeVideo(const NewLessonOptions& options) {
  const fs::path target = options.outDir / options.video.filename();
  std::error_code ec;
  if (fs::exists(target) && fs::equivalent(target, options.video, ec)) return;
  fs::remove(target, ec);
  if (options.linkVideo) {
    fs::create_symlink(fs::absolute(options.video), target, ec);
  } else {
    fs::copy_file(options.video, target, fs::copy_options::overwrite_existing, ec);
  }
  if (ec) {
    throw Error(ErrorCode::PermissionDenied,
                target.string() + ": cannot " + (options.linkVideo ? "link" : "copy") +
                    " the video: " + ec.message());
  }
}

}  // namespace

std::string addressOfFileName(const std::string& name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

void writeNewLesson(const NewLessonOptions& options) {
  checkOptions(options);
  const LessonPlan plan = planLesson(options);
  std::error_code ec;
  fs::create_directories(options.outDir, ec);
  if (ec || !fs::is_directory(options.outDir)) {
    throw Error(ErrorCode::PathNotFound, options.outDir.string() + ": cannot make the folder");
  }
  writeFile(options.outDir / "index.html", lessonPage(plan));
  writeFile(options.outDir / "toc.html", tocPage(plan));
  for (const Transcript& transcript : plan.transcripts) {
    writeFile(options.outDir / transcriptFile(transcript.language), transcriptPage(transcript));
  }
  for (const LessonAsset& asset : lessonAssets()) {
    writeFile(options.outDir / std::string(asset.name),
              std::string_view(reinterpret_cast<const char*>(asset.bytes.data()), asset.bytes.size()));
  }
  placeVideo(options);
}

}  // namespace reVoziz::lessonmaking
