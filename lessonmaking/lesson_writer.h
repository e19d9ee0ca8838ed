#pragma once
// `revoziz lesson new`: a lesson folder made from a video and its captions.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "captions/caption_text.h"

namespace reVoziz::lessonmaking {

class LessonFiles;

struct CaptionsSource {
  std::string language;  // letters, digits and "-" only: it names a file
  std::filesystem::path file;
};

struct NewLessonOptions {
  std::filesystem::path outDir;
  std::filesystem::path video;
  std::vector<CaptionsSource> captions;  // at least one
  std::optional<std::filesystem::path> chapters;
  std::optional<std::string> title;  // default: the video's name without extension
  // Of the pages' buttons, menus and dialogs: see interfaceLanguageFor.
  std::optional<std::string> interfaceLanguage;
  bool linkVideo = false;
  // Ship a WebM (VP9 and Opus) made from the video instead of the video, told
  // to `transcodeProgress` as the share done.
  bool transcode = false;
  std::function<void(double)> transcodeProgress = [](double) {};
  bool force = false;  // write into an existing folder
  // Of the captions and chapters files; Detect tells it from each file.
  captions::TextEncoding encoding = captions::TextEncoding::Detect;
};

// What a new lesson holds, for the summary after `lesson new`.
struct TranscriptReport {
  std::string language;
  std::filesystem::path captions;
  std::size_t cuesRead = 0;
  std::size_t cuesDropped = 0;
  std::size_t segments = 0;
};

struct NewLessonReport {
  std::vector<TranscriptReport> transcripts;  // in the order given
  std::size_t chapters = 0;                   // entries of the table of contents
  std::string interfaceLanguage;
  std::vector<std::string> warnings;          // "FILE[:LINE]: warning: ..."
};

// Writes the lesson through `files`. Nothing is written until every input has
// been read, and each file replaces its old one only once wholly written.
// Throws Error with a message that names the file (and the line) at fault.
// Reports what the captions readers worked around and the cues left out into
// `report`, as far as it got when it throws: a file without cues is best
// explained by the warnings about its lines.
void writeNewLesson(LessonFiles& files, const NewLessonOptions& options, NewLessonReport& report);
NewLessonReport writeNewLesson(LessonFiles& files, const NewLessonOptions& options);

// A file name as a relative address: bytes outside the unreserved set are
// percent-encoded.
std::string addressOfFileName(const std::string& name);

}  // namespace reVoziz::lessonmaking
