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
      {"<b id=\"mine\">x</b><a name=\"OTHER\">y</a><u id=\"notes\">z</u>", mine, "<b>x</b><a>y</a><u id=\"notes\">z</u>"},
      {"<b id=\"mine\">x</b><a name=\"OTHER\">y</a>", {}, "<b id=\"mine\">x</b><a name=\"OTHER\">y</a>"},
      {"<p id=\"mine\" title=\"mine\"><a name=\"x\" id=\"Other\">y</a></p>", mine, "<p title=\"mine\"><a name=\"x\">y</a></p>"},
  };
  testing::Lesson lesson("editor_notes");
  for (const auto& c : cases) {
    EXPECT_EQ(cleanedMarkup(lesson.documentRef(), c.markup, c.reserved), c.cleaned) << c.markup;
  }
}

// What the allowlist makes of markup from outside: the formatting it names
// stays, links open outside the lesson, nothing loads from elsewhere, and the
// sync tag keeps its template's shape.
TEST(MarkupCleaning, KeepsTheAllowlistAndMakesTheRestHarmless) {
  const struct {
    std::string_view markup;
    std::string_view cleaned;
  } cases[] = {
      {"<img src=\"http://x.example/p.gif\" alt=\"a &amp; b\">",
       "<a href=\"http://x.example/p.gif\" target=\"_blank\" rel=\"noopener noreferrer\">a &amp; b</a>"},
      {"<img src=\"https://x.example/q.png\">",
       "<a href=\"https://x.example/q.png\" target=\"_blank\" rel=\"noopener noreferrer\">https://x.example/q.png</a>"},
      {"<img src=\"x.gif\" alt=\" \"><img>", "x.gif"},
      {"<img src=\"data:image/png;base64,AA==\" alt=\"a\" onerror=\"x()\" srcset=\"http://x.example/a.png 2x\">",
       "<img src=\"data:image/png;base64,AA==\" alt=\"a\">"},
      {"<img src=\"data:image/svg+xml,&lt;svg/&gt;\" alt=\"s\">", "s"},
      {"<a href=\"https://x.example/\" target=\"notesTemplate\" onclick=\"x()\">t</a>",
       "<a href=\"https://x.example/\" target=\"_blank\" rel=\"noopener noreferrer\">t</a>"},
      {"<a href=\"mailto:a@x.example\">m</a><a href=\"data:text/html,x\" target=\"_blank\">d</a><a href=\"notes.html\">r</a>",
       "<a href=\"mailto:a@x.example\" target=\"_blank\" rel=\"noopener noreferrer\">m</a><a>d</a><a>r</a>"},
      {"<p style=\"color: red; background: url(x.png)\">c</p><p style=\"color: red; /*x*/\">d</p>",
       "<p style=\"color: red\">c</p><p style=\"color: red; /*x*/\">d</p>"},
      {"<p style=\"font-family: '/*'; color: blue\">q</p>", "<p style=\"font-family: '/*'; color: blue\">q</p>"},
      {"<p style=\"background:u\\72l(x.png)\">e</p><p style=\"color:/*;*/green\">g</p>",
       "<p>e</p><p style=\"color:/*;*/green\">g</p>"},
      {"<section><custom-x title=\"t\">t</custom-x></section><script>s()</script><style>p{}</style>"
       "<form action=\"x\"><input name=\"attributes\">f</form><video poster=\"http://x.example/p.png\">v</video>",
       "tfv"},
      {"<font color=\"red\" face=\"Arial\" onclick=\"x()\">f</font><b class=\"tq_sync\" dir=\"rtl\">b</b>",
       "<font color=\"red\" face=\"Arial\">f</font><b dir=\"rtl\">b</b>"},
      {"<table border=\"1\" background=\"http://x.example/b.png\"><tbody><tr><td colspan=\"2\">t</td></tr></tbody></table>",
       "<table border=\"1\"><tbody><tr><td colspan=\"2\">t</td></tr></tbody></table>"},
      {"<p id=\"intro\"><a name=\"parent\" id=\"getSelection\">p</a><b id=\"iText\">i</b><i id=\"tq_x\">t</i></p>",
       "<p id=\"intro\"><a>p</a><b>i</b><i>t</i></p>"},
      // A stamped copy of the notes page's template.
      {"<span id=\"\" class=\"tq_syncTag\" style=\"display: inline;\" contenteditable=\"false\" onclick=\"x()\">"
       "<span class=\"tq_sync\" title=\"Go\" role=\"button\" tabindex=\"0\" aria-label=\"Go\">&gt;</span>"
       "<span class=\"tq_decrement\" role=\"button\" tabindex=\"0\">-</span>"
       "<input id=\"timeCode\" class=\"tq_syncValue\" aria-label=\"t\" value=\"00:00:05\" size=\"8\" onfocus=\"x()\">"
       "<span class=\"tq_increment\" role=\"link\" tabindex=\"0\">+</span></span>",
       "<span class=\"tq_syncTag\" style=\"display: inline;\" contenteditable=\"false\">"
       "<span class=\"tq_sync\" title=\"Go\" role=\"button\" tabindex=\"0\" aria-label=\"Go\">&gt;</span>"
       "<span class=\"tq_decrement\" role=\"button\" tabindex=\"0\">-</span>"
       "<input id=\"timeCode\" class=\"tq_syncValue\" aria-label=\"t\" value=\"00:00:05\" size=\"8\">"
       "<span class=\"tq_increment\" tabindex=\"0\">+</span></span>"},
      // Not of its shape: an ordinary span, without a field.
      {"<span class=\"tq_syncTag\" contenteditable=\"false\"><input id=\"timeCode\" class=\"tq_syncValue\"></span>",
       "<span></span>"},
  };
  testing::Lesson lesson("editor_notes");
  for (const auto& c : cases) {
    EXPECT_EQ(cleanedMarkup(lesson.documentRef(), c.markup, {}), c.cleaned) << c.markup;
  }
}

}  // namespace
}  // namespace reVoziz
