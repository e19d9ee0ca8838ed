#include "lessonmaking/lesson_summary.h"

#include "lessonmaking/lesson_pages.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;

// The command that shows the lesson in a browser, from the repository's root.
std::string serveLine(const fs::path& lessonDir) {
  return "serve: ./scripts/serve --root " + fs::absolute(lessonDir).lexically_normal().string() + "\n";
}

std::string counted(std::size_t count, const std::string& file) {
  return std::to_string(count) + " (" + file + ")";
}

// "NAME: A, B" or "NAME: none".
std::string line(const std::string& name, const std::string& items) {
  return name + ": " + (items.empty() ? std::string("none") : items) + "\n";
}

void append(std::string& items, const std::string& item, const char* separator = ", ") {
  if (!items.empty()) items += separator;
  items += item;
}

}  // namespace

std::string newLessonSummary(const NewLessonReport& report, const fs::path& lessonDir) {
  std::string cues;
  std::string segments;
  for (const TranscriptReport& t : report.transcripts) {
    append(cues, t.language + ' ' + std::to_string(t.cuesRead) + " read, " + std::to_string(t.cuesDropped) + " dropped",
           "; ");
    append(segments, counted(t.segments, transcriptFile(t.language)));
  }
  return line("cues", cues) + line("segments", segments) + "chapters: " + std::to_string(report.chapters) + "\n" +
         line("interface", report.interfaceLanguage) + "warnings: " + std::to_string(report.warnings.size()) + "\n" + serveLine(lessonDir);
}

std::string checkSummary(const LessonCheck& check, const fs::path& lessonDir) {
  std::string chapters;
  std::string segments;
  for (const ListCount& list : check.lists) {
    append(list.contents ? chapters : segments, counted(list.segments, fs::path(list.file).filename().string()));
  }
  return line("chapters", chapters) + line("segments", segments) + "warnings: " +
         std::to_string(check.warnings.size()) + "\nproblems: " + std::to_string(check.problems.size()) + "\n" +
         serveLine(lessonDir);
}

}  // namespace reVoziz::lessonmaking
