#pragma once
// `revoziz lesson new`: a lesson folder made from a video and its captions.

#include <filesystem>
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
  bool linkVideo = false;
  bool force = false;  // write into an existing folder
  // Of the captions and chapters files; Detect tells it from each file.
  captions::TextEncoding encoding = captions::TextEncoding::Detect;
};

// Writes the lesson through `files`. Nothing is written until every input has
// been read, and each file replaces its old one only once wholly written.
// Throws Error with a message that names the file (and the line) at fault.
// Gives what the captions readers worked around, as "FILE:LINE: warning: ...".
std::vector<std::string> writeNewLesson(LessonFiles& files, const NewLessonOptions& options);

// A file name as a relative address: bytes outside the unreserved set are
// percent-encoded.
std::string addressOfFileName(const std::string& name);

}  // namespace reVoziz::lessonmaking
