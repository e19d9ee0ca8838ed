#pragma once
// `revoziz lesson check`: a linter for the page contract of a lesson folder,
// for hand-made lessons as much as for made ones. It loads the lesson in the
// page model, checks the frames, the list containers and their segments, ids,
// menus, addresses, the notes page and the video, then plays the lesson
// through on simulated time and reports every kind of tick that fails.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace reVoziz::lessonmaking {

class LessonFiles;

struct Problem {
  std::string file;  // the lesson folder joined with the page's name
  int line = 0;
  std::string message;
};

// A list page the check read, and how many segments its list holds.
struct ListCount {
  std::string file;  // as in Problem
  bool contents = false;  // the table of contents, not a transcript
  std::size_t segments = 0;
};

struct LessonCheck {
  std::vector<Problem> problems;
  // What keeps some students from the whole lesson without breaking it: a
  // video that Chromium and Firefox do not both play, segments after its end.
  std::vector<Problem> warnings;
  std::vector<ListCount> lists;  // in the order checked
};

// The problems, as checkLesson gives them, and the lists the check counted.
LessonCheck inspectLesson(LessonFiles& files, const std::filesystem::path& lessonDir);

// Every problem found, page by page in the order the lesson loads them, with
// every page and file read through `files`. A file that cannot even be looked
// at (a link loop, a name too long) throws Error naming it.
std::vector<Problem> checkLesson(LessonFiles& files, const std::filesystem::path& lessonDir);

}  // namespace reVoziz::lessonmaking
