#pragma once
// The files every lesson shares with the sample lesson: the notes page, its
// template, the save-changes page, the table of contents' heading and the
// button and expander images. Built in from lessons/sample.

#include <span>
#include <string_view>

namespace reVoziz::lessonmaking {

struct LessonAsset {
  std::string_view name;
  std::span<const unsigned char> bytes;
};

std::span<const LessonAsset> lessonAssets();

}  // namespace reVoziz::lessonmaking
