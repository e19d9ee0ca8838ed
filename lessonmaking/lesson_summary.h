#pragma once
// The few lines `lesson new` and `lesson check` print when they are done:
// what went in, what came out, and how to open the lesson.

#include <filesystem>
#include <string>

#include "lessonmaking/lesson_check.h"
#include "lessonmaking/lesson_writer.h"

namespace reVoziz::lessonmaking {

// "cues: en 4 read, 0 dropped; ...", "segments: 4 (trans_en.html), ...",
// "chapters: N", "warnings: N", then the serve line.
std::string newLessonSummary(const NewLessonReport& report, const std::filesystem::path& lessonDir);

// "chapters: N (toc.html)", "segments: ...", "problems: N", then the serve line.
std::string checkSummary(const LessonCheck& check, const std::filesystem::path& lessonDir);

}  // namespace reVoziz::lessonmaking
