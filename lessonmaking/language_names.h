#pragma once
// What the transcript menu calls a language tag (BCP 47, such as "es-MX"):
// "Español (México)". The names are the languages' own.

#include <string>
#include <string_view>

namespace reVoziz::lessonmaking {

// The language's own name, with the region's name in that language, or the
// parts' codes where the table has no name: "es-AR" → "Español (AR)",
// "xx" → "xx". Case is ignored.
std::string languageLabel(std::string_view tag);

// The tag in lower case, as file names use it: "es-mx".
std::string lowerCaseTag(std::string_view tag);

}  // namespace reVoziz::lessonmaking
