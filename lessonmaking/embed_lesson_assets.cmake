# Writes OUTPUT, a C++ source that holds the files FILES (names in the folder
# SOURCE, separated by commas) as byte arrays: the lesson maker's copy of the
# sample lesson's fixed pages and images.
string(REPLACE "," ";" FILES "${FILES}")
set(body "")
set(table "")
set(index 0)
foreach(name IN LISTS FILES)
  file(READ "${SOURCE}/${name}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "constexpr unsigned char kAsset${index}[] = {${bytes}};\n")
  string(APPEND table "    {\"${name}\", {kAsset${index}, sizeof kAsset${index}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.part" "// Generated from the sample lesson by embed_lesson_assets.cmake.
#include \"lessonmaking/lesson_assets.h\"

namespace reVoziz::lessonmaking {
namespace {
${body}
constexpr LessonAsset kAssets[] = {
${table}};
}  // namespace

std::span<const LessonAsset> lessonAssets() { return kAssets; }

}  // namespace reVoziz::lessonmaking
")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
