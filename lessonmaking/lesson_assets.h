#pragma once
// The sample lesson's files, built in from lessons/sample so that made lessons
// follow the sample.

#include <span>
#include <string_view>

namespace reVoziz::lessonmaking {

struct LessonAsset {
  std::string_view name;
  std::span<const unsigned char> bytes;
};

// The files every lesson shares with the sample lesson: the notes page, its
// template, the save-changes page and the table of contents' heading, written
// in the lesson's interface language, and the button and expander images,
// written as they are.
std::span<const LessonAsset> lessonAssets();

// The sample's lesson page, table of contents and transcript, which the lesson
// maker fills with a lesson's own title, video, entries and segments; never
// written as they are.
std::span<const LessonAsset> lessonPageTemplates();

// lessonmaking/interface_texts.tsv, the texts of those pages in each language.
std::string_view interfaceTextTable();

}  // namespace reVoziz::lessonmaking
