#pragma once
// The pages of a lesson made from captions, laid out like the sample lesson:
// the lesson page, the table of contents and one transcript per language.

#include <string>
#include <vector>

#include "lessonmaking/lesson_plan.h"

namespace reVoziz::lessonmaking {

struct LessonPlan {
  std::string title;
  std::string videoAddress;  // relative to the lesson page
  std::vector<Transcript> transcripts;  // at least one; the first is shown at start
  std::vector<TocEntry> toc;
};

// The transcript page's file name for a language, in lower case, so that
// it is the same on disks that ignore case: "trans_es-mx.html".
std::string transcriptFile(const std::string& language);

std::string lessonPage(const LessonPlan& plan);
std::string tocPage(const LessonPlan& plan);
std::string transcriptPage(const Transcript& transcript);

}  // namespace reVoziz::lessonmaking
