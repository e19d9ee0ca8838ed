#include "lessonmaking/language_names.h"

#include <gtest/gtest.h>

namespace reVoziz::lessonmaking {
namespace {

TEST(LanguageNames, TagsAreNamedInFullWhereKnownAndByTheirCodesElsewhere) {
  const struct {
    const char* tag;
    const char* label;
    const char* lower;
  } cases[] = {
      {"es", "Español", "es"},
      {"es-MX", "Español (México)", "es-mx"},
      {"ES-mx", "Español (México)", "es-mx"},
      {"pt-BR", "Português (Brasil)", "pt-br"},
      {"en-US", "English (United States)", "en-us"},
      {"es-419", "Español (Latinoamérica)", "es-419"},
      {"es-AR", "Español (Argentina)", "es-ar"},
      {"es-BO", "Español (BO)", "es-bo"},  // a region the table lacks
      {"en-au", "English (Australia)", "en-au"},
      {"sr-Latn-RS", "sr-Latn-RS", "sr-latn-rs"},  // a language the table lacks
      {"de-1901", "Deutsch (1901)", "de-1901"},  // not a region: the code as given
      {"EN", "English", "en"},
      {"xx", "xx", "xx"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(languageLabel(c.tag), c.label) << c.tag;
    EXPECT_EQ(lowerCaseTag(c.tag), c.lower) << c.tag;
  }
}

}  // namespace
}  // namespace reVoziz::lessonmaking
