// The selection, text and control ranges, and how ranges follow changes of
// the page.

#include <gtest/gtest.h>

#include "pagemodel/html_serializer.h"
#include "support/editing.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using pagemodel::NodePtr;
using testing::caretAtEnd;
using testing::failureOf;
using testing::placeCaret;
using testing::selectText;

class SelectionTest : public ::testing::Test {
 protected:
  testing::Lesson lesson{"editor_notes"};
  pagemodel::DocumentModel& doc = *lesson.document();
  Document page = lesson.documentRef();
  NodePtr notes = lesson.node("", "notes");

  TextRange range() const { return page.selection().createRange(); }
  std::string notesHtml() const { return pagemodel::serializeChildren(*notes); }
};

TEST_F(SelectionTest, TypeTellsNothingACaretTextAndAWholeObjectApart) {
  EXPECT_EQ(page.selection().type(), "None");
  // Without a caret, a range stands at the start of the body.
  EXPECT_EQ(range().parentElement().tagName(), "BODY");

  placeCaret(doc, notes, "bold", 2);
  EXPECT_EQ(page.selection().type(), "None");
  EXPECT_EQ(range().parentElement().id(), "strong");

  selectText(doc, notes, "line of");
  EXPECT_EQ(page.selection().type(), "Text");
  EXPECT_EQ(range().parentElement().id(), "first");
  EXPECT_EQ(Value(range().handle()->get("text")), Value("line of"));

  doc.selection().selectRange(testing::pointAt(notes, "First"), testing::pointAt(notes, "line.", 5));
  EXPECT_EQ(range().parentElement().id(), "notes");  // the element holding both ends

  doc.selection().selectControl(lesson.node("", "picture"));
  EXPECT_EQ(page.selection().type(), "Control");
  const TextRange control = range();
  EXPECT_TRUE(control.item(0).sameAs(lesson.element("", "picture")));
  EXPECT_EQ(failureOf([&] { control.item(1); }), ErrorCode::InvalidArgument);
  // A control range has no collapse.
  EXPECT_EQ(failureOf([&] { control.collapse(true); }), ErrorCode::MemberNotFound);
}

TEST_F(SelectionTest, ARangeIsACopyUntilSelected) {
  selectText(doc, notes, "Second");
  const TextRange r = range();
  r.collapse(true);
  EXPECT_EQ(page.selection().type(), "Text");  // the selection did not move
  r.moveToElementText(lesson.element("", "first"));
  EXPECT_EQ(Value(r.handle()->get("text")), Value("First line of notes."));
  EXPECT_TRUE(r.findText("LINE"));  // without case
  EXPECT_EQ(Value(r.handle()->get("text")), Value("line"));
  EXPECT_FALSE(r.findText("Second"));  // outside the range: the range stays
  EXPECT_EQ(Value(r.handle()->get("text")), Value("line"));
  r.select();
  EXPECT_EQ(Value(range().handle()->get("text")), Value("line"));
  // Collapsed to its end, a range searches on to the end of the page.
  r.collapse(false);
  EXPECT_TRUE(r.findText("bold"));
  EXPECT_EQ(r.parentElement().id(), "strong");
}

TEST_F(SelectionTest, PasteHtmlReplacesTheRangeAndEndsAfterWhatItPasted) {
  placeCaret(doc, notes, "line of", 5);
  TextRange r = range();
  r.pasteHTML("<span id='x'>[x]</span>");
  EXPECT_EQ(lesson.node("", "first")->children().size(), 3u);
  EXPECT_EQ(pagemodel::serializeNode(*lesson.node("", "first")),
            "<p id=\"first\">First line <span id=\"x\">[x]</span>of notes.</p>");
  r.pasteHTML("!");
  EXPECT_NE(notesHtml().find("[x]</span>!of"), std::string::npos);

  // Over a selection from inside one paragraph to inside a bold word: the
  // partly selected elements keep what was not selected.
  doc.selection().selectRange(testing::pointAt(notes, "of notes", 3), testing::pointAt(notes, "bold", 2));
  range().pasteHTML("<i>new</i>");
  EXPECT_TRUE(notesHtml().starts_with(
      "<p id=\"first\">First line <span id=\"x\">[x]</span>!of <i>new</i></p><p id=\"second\"><b "
      "id=\"strong\">ld</b> line.</p><img id=\"picture\""))
      << notesHtml();
}

TEST_F(SelectionTest, TheSelectionFollowsInsertionsAndRemovals) {
  placeCaret(doc, notes, "Second", 3);
  // A paste before the caret leaves it where it was in the text.
  TextRange before = page.selection().createRange();
  before.moveToElementText(lesson.element("", "first"));
  before.collapse(true);
  before.pasteHTML("<b>Before</b>");
  EXPECT_EQ(range().parentElement().id(), "second");
  EXPECT_TRUE(range().findText("ond"));

  // Taking out the paragraph that holds the caret puts it where the paragraph was.
  placeCaret(doc, notes, "Second", 3);
  lesson.element("", "second").removeNode(true);
  EXPECT_EQ(range().parentElement().id(), "notes");
  range().pasteHTML("<u id='here'></u>");
  EXPECT_EQ(lesson.node("", "here")->nextSibling(), lesson.node("", "picture"));

  // Keeping the content of a removed element keeps the caret inside that content.
  caretAtEnd(doc, lesson.node("", "first"));
  lesson.element("", "first").removeNode(false);
  range().pasteHTML("<u id='end'></u>");
  EXPECT_EQ(lesson.node("", "end")->nextSibling(), lesson.node("", "here"));

  // Replacing all content puts the caret at the start of the element.
  notes->call("removeAttribute", std::vector<Value>{Value("id")});  // unrelated write
  lesson.element("", "lessonText").setInnerHTML("fresh");
  placeCaret(doc, lesson.node("", "lessonText"), "fresh", 2);
  lesson.element("", "lessonText").setInnerHTML("<b>other</b>");
  EXPECT_EQ(range().parentElement().id(), "lessonText");
}

TEST_F(SelectionTest, ContentEditableIsInheritedAndStoppedByFalse) {
  const Element lessonText = lesson.element("", "lessonText");
  const Element first = lesson.element("", "first");
  const Element field = lesson.element("", "timeCode");
  EXPECT_EQ(lesson.element("", "notes").property("contentEditable"), Value("true"));
  EXPECT_EQ(first.property("contentEditable"), Value("inherit"));
  EXPECT_EQ(first.property("isContentEditable"), Value(true));
  EXPECT_EQ(lessonText.property("isContentEditable"), Value(false));
  EXPECT_EQ(field.property("isContentEditable"), Value(false));  // the template says false
  first.setProperty("contentEditable", "false");
  EXPECT_EQ(first.property("isContentEditable"), Value(false));
  first.setProperty("contentEditable", "inherit");
  EXPECT_EQ(first.property("isContentEditable"), Value(true));
  EXPECT_EQ(failureOf([&] { first.setProperty("contentEditable", "maybe"); }), ErrorCode::InvalidArgument);
}

}  // namespace
}  // namespace reVoziz
