#include "core/markup_cleaning.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/lesson.h"

namespace reVoziz {
namespace {

// The cleaning drops the ids and names its caller reserves, whatever the
// letter case on either side, and keeps every other.
TEST(MarkupCleaning, DropsTheIdsAndNamesItIsHanded) {
  const std::vector<std::string_view> mine = {"Mine", "other"};
  const struct {
    std::string_view markup;
    ReservedIds reserved;
    std::string_view cleaned;
  } cases[] = {
      {"<b id=\"mine\">x</b><i name=\"OTHER\">y</i><u id=\"notes\">z</u>", mine, "<b>x</b><i>y</i><u id=\"notes\">z</u>"},
      {"<b id=\"mine\">x</b><i name=\"OTHER\">y</i>", {}, "<b id=\"mine\">x</b><i name=\"OTHER\">y</i>"},
      {"<p id=\"mine\" title=\"mine\"><b name=\"x\" id=\"Other\">y</b></p>", mine, "<p title=\"mine\"><b name=\"x\">y</b></p>"},
  };
  testing::Lesson lesson("editor_notes");
  for (const auto& c : cases) {
    EXPECT_EQ(cleanedMarkup(lesson.documentRef(), c.markup, c.reserved), c.cleaned) << c.markup;
  }
}

}  // namespace
}  // namespace reVoziz
