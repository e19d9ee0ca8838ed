#pragma once
// The pages of a lesson made from captions, laid out like the sample lesson:
// the lesson page, the table of contents and one transcript per language,
// and the sample's fixed pages, each in the lesson's interface language.

#include <string>
#include <string_view>
#include <vector>

#include "lessonmaking/interface_texts.h"
#include "lessonmaking/lesson_plan.h"
#include "lessonmaking/page_template.h"

namespace reVoziz::lessonmaking {

struct LessonPlan {
  std::string title;
  std::string videoAddress;  // relative to the lesson page
  std::vector<Transcript> transcripts;  // at least one; the first is shown at start
  std::vector<TocEntry> toc;
  std::string interfaceLanguage{kSourceLanguage};  // one of InterfaceTexts::builtIn()'s
};

// The transcript page's file name for a language, in lower case, so that
// it is the same on disks that ignore case: "trans_es-mx.html".
std::string transcriptFile(const std::string& language);

// The elements of the sample's page `name` that hold the lesson's own content
// (its title, languages, entries and segments): the maker fills them, and
// never translates them.
ElementMatch lessonContent(std::string_view name);

std::string lessonPage(const LessonPlan& plan);
std::string tocPage(const LessonPlan& plan);
std::string transcriptPage(const Transcript& transcript,
                           const std::string& interfaceLanguage = std::string(kSourceLanguage));
// A page of lessonAssets(), which every lesson shares, in the interface language.
std::string fixedPage(std::string_view name, const std::string& interfaceLanguage);

}  // namespace reVoziz::lessonmaking
