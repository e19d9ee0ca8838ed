#include <gtest/gtest.h>

#include "documents/notes_documents.h"
#include "documents/notes_fixture.h"
#include "documents/template_address.h"

namespace reVoziz {
namespace {

using testing::failureOf;
using testing::NotesLesson;

constexpr std::string_view kTitleQuestion =
    "El título en las notas no corresponde al del contenido, desea continuar?";

class PageFormat : public ::testing::Test {
 protected:
  NotesLesson lesson;
  tq& control = lesson.control;
  std::vector<std::string>& questions = lesson.notesModel().confirmMessages;
  std::deque<bool>& answers = lesson.notesModel().confirmAnswers;
};

TEST_F(PageFormat, ComposeFillsEachSlotOfTheTemplateWithNotesAndTitle) {
  lesson.setNotes("<b>Uno</b> 日本 😀");
  const std::string page = control.composePage(lesson.notesWindow());
  EXPECT_EQ(page,
            "<html><head><title>Stored notes</title></head><body><h1><!--title-->Año Ñandú"
            "<!--title--></h1><div id=\"notes\"><!--notes--><b>Uno</b> 日本 😀<!--notes--></div>\n"
            "</body></html>");
  EXPECT_EQ(control.pageExtract(page, kNotesKey), "<b>Uno</b> 日本 😀");
  EXPECT_EQ(control.pageExtract(page, kTitleKey), "Año Ñandú");
}

TEST_F(PageFormat, TemplatesWithoutOrWithTwoNotesSlots) {
  lesson.setNotes("n");
  // A page without the notes is never composed: it would store nothing.
  lesson.setTemplateBody("<p><!--title--><!--title--></p>");
  EXPECT_EQ(failureOf([&] { control.composePage(lesson.notesWindow()); }), ErrorCode::InvalidArgument);

  lesson.setTemplateBody("<!--notes--><!--notes--><hr><!--notes--><!--notes-->");
  const std::string page = control.composePage(lesson.notesWindow());
  EXPECT_EQ(control.pageExtract(page, kNotesKey), "n<!--notes--><hr><!--notes-->n");
}

TEST(TemplateAddress, TheFrameMustShowThePageItsSrcDeclaresAsEachHostGivesTheAddress) {
  struct Case {
    std::string_view src, url;
    bool shown;
  };
  const Case cases[] = {
      {"template.html", "template.html", true},  // the page model: as written
      {"notes_template.html", "http://host/lesson/Notes_Template.html?v=2#top", true},
      {"notas lección.html", "https://host/l/notas%20lecci%C3%B3n.html", true},
      {"../common/tpl.html", "../common/tpl.html", true},
      {"./tpl.html", "file://C:\\lessons\\uno\\tpl.html", true},
      {"/lessons/tpl.html", "http://host/lessons/tpl.html", true},
      {"template.html", "http://host/lesson/my_template.html", false},
      {"template.html", "http://host/lesson/index.html", false},
      {"template.html", "about:blank", false},
      {"", "about:blank", false},
      {"tpl/", "http://host/tpl/", false},
  };
  for (const Case& c : cases) EXPECT_EQ(showsDeclaredPage(c.src, c.url), c.shown) << c.src << " in " << c.url;
}

TEST_F(PageFormat, InsertedNotesAreNotSearchedForNotesSlotsButAreForTitleSlots) {
  const std::string notes = "a<!--notes--><!--notes-->b<!--notes-->c";
  lesson.setNotes(notes);
  ASSERT_EQ(lesson.notes(), notes);
  std::string page = control.composePage(lesson.notesWindow());
  EXPECT_EQ(control.pageExtract(page, kNotesKey), notes);

  lesson.setNotes("x<!--title--><!--title-->y");
  page = control.composePage(lesson.notesWindow());
  EXPECT_EQ(control.pageExtract(page, kNotesKey), "x<!--title-->Año Ñandú<!--title-->y");
}

TEST_F(PageFormat, ComposeFailsWithoutNotesOrTemplate) {
  lesson.element("tq_trans", "notes").removeNode(true);
  EXPECT_EQ(failureOf([&] { control.composePage(lesson.notesWindow()); }),
            ErrorCode::MemberNotFound);
  lesson.window("tq_trans")->document()->frames().clear();
  EXPECT_EQ(failureOf([&] { control.composePage(lesson.notesWindow()); }),
            ErrorCode::MemberNotFound);
}

struct ExtractCase {
  std::string page;
  std::string key;
  std::string result;
};

class PageExtractCases : public PageFormat, public ::testing::WithParamInterface<ExtractCase> {};

TEST_P(PageExtractCases, CutsBetweenFirstAndLastKey) {
  EXPECT_EQ(control.pageExtract(GetParam().page, GetParam().key), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageExtractCases,
    ::testing::Values(
        ExtractCase{"", "<!--notes-->", ""}, ExtractCase{"no keys here", "<!--notes-->", ""},
        ExtractCase{"<!--NOTES-->x<!--NOTES-->", "<!--notes-->", ""},
        ExtractCase{"a<!--notes--><!--notes-->b", "<!--notes-->", ""},
        ExtractCase{"<!--notes-->1<!--notes-->2<!--notes-->", "<!--notes-->", "1<!--notes-->2"},
        // Text outside the basic plane around and between the keys, and in the key.
        ExtractCase{"😀<!--notes-->日本😀𝄞<!--notes-->😀", "<!--notes-->", "日本😀𝄞"},
        ExtractCase{"𝄞😀x😀😀y😀𝄞", "😀", "x😀😀y"},
        ExtractCase{"😀😀😀", "😀", "😀"}, ExtractCase{"abc", "", ""}));

TEST_F(PageFormat, AKeyThatOccursOnceOrOverlapsItselfIsAnInvalidArgument) {
  for (const auto& [page, key] : std::vector<std::pair<std::string, std::string>>{
           {"x<!--notes-->y", "<!--notes-->"},
           {"😀<!--notes-->😀日本", "<!--notes-->"},
           {"𝄞😀😀𝄞", "😀😀"},  // second match overlaps the first
           {"aaa", "aa"}}) {
    EXPECT_EQ(failureOf([&] { control.pageExtract(page, key); }), ErrorCode::InvalidArgument)
        << page;
  }
}

TEST_F(PageFormat, CheckContentComparesTitlesIgnoringCaseOnly) {
  EXPECT_TRUE(control.checkContent(lesson.notesWindow(), "<!--title-->AÑO ÑANDÚ<!--title-->"));
  EXPECT_TRUE(questions.empty());

  // A space around the title is a difference: the user decides.
  answers = {true, false};
  EXPECT_TRUE(control.checkContent(lesson.notesWindow(), "<!--title--> Año Ñandú<!--title-->"));
  EXPECT_FALSE(control.checkContent(lesson.notesWindow(), "no title keys"));
  EXPECT_EQ(questions, std::vector<std::string>(2, std::string(kTitleQuestion)));

  EXPECT_EQ(failureOf([&] { control.checkContent(lesson.notesWindow(), "<!--title-->x"); }),
            ErrorCode::InvalidArgument);
  EXPECT_EQ(questions.size(), 2u);
}

TEST_F(PageFormat, APageWithoutTitlePassesWhenTheContentHasNoTitle) {
  lesson.document()->put("title", "");
  EXPECT_TRUE(control.checkContent(lesson.notesWindow(), "no title keys"));
  EXPECT_TRUE(questions.empty());
}

}  // namespace
}  // namespace reVoziz
