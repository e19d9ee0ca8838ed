# Writes OUTPUT, a C++ source that holds files of the folder SOURCE as byte
# arrays: FILES, the sample lesson's fixed pages and images that every made
# lesson gets (its pages in the interface language), and TEMPLATES, the
# sample's own pages that the lesson maker fills. Each list names its files
# separated by commas. TEXTS is the table of interface texts.
set(body "")
set(index 0)

# Appends to `body` one array per file of `names` and sets `out` to the table
# rows that name them.
function(embed_files names out)
  string(REPLACE "," ";" names "${names}")
  set(rows "")
  foreach(name IN LISTS names)
    file(READ "${SOURCE}/${name}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(APPEND body "constexpr unsigned char kAsset${index}[] = {${bytes}};\n")
    string(APPEND rows "    {\"${name}\", {kAsset${index}, sizeof kAsset${index}}},\n")
    math(EXPR index "${index} + 1")
  endforeach()
  set(body "${body}" PARENT_SCOPE)
  set(index "${index}" PARENT_SCOPE)
  set(${out} "${rows}" PARENT_SCOPE)
endfunction()

embed_files("${FILES}" fixed_rows)
embed_files("${TEMPLATES}" template_rows)
file(READ "${TEXTS}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," text_bytes "${hex}")
file(WRITE "${OUTPUT}.part" "// Generated from the sample lesson by embed_lesson_assets.cmake.
#include \"lessonmaking/lesson_assets.h\"

namespace reVoziz::lessonmaking {
namespace {
${body}
constexpr LessonAsset kAssets[] = {
${fixed_rows}};

constexpr LessonAsset kPageTemplates[] = {
${template_rows}};

constexpr unsigned char kInterfaceTexts[] = {${text_bytes}};
}  // namespace

std::span<const LessonAsset> lessonAssets() { return kAssets; }

std::span<const LessonAsset> lessonPageTemplates() { return kPageTemplates; }

std::string_view interfaceTextTable() {
  return {reinterpret_cast<const char*>(kInterfaceTexts), sizeof kInterfaceTexts};
}

}  // namespace reVoziz::lessonmaking
")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
