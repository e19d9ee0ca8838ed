// Sync tags: inserting them at the caret or at the end of the notes, their
// buttons, their fields, and what a failed insertion leaves.

#include <gtest/gtest.h>

#include "pagemodel/html_serializer.h"
#include "support/notes_page.h"

namespace reVoziz {
namespace {

using pagemodel::NodePtr;
using testing::NotesPage;

// The placed tags inside the notes, in document order.
std::vector<NodePtr> tagsIn(const NodePtr& notes) {
  std::vector<NodePtr> tags;
  notes->forEachDescendantElement([&](const NodePtr& e) {
    if (e->attributeOr("class") == "tq_syncTag") tags.push_back(e);
    return true;
  });
  return tags;
}

NodePtr childOfClass(const NodePtr& tag, std::string_view cls) {
  for (const NodePtr& c : tag->children()) {
    if (c->attributeOr("class") == cls) return c;
  }
  throw std::runtime_error("no child of class " + std::string(cls));
}

std::string fieldOf(const NodePtr& tag) { return childOfClass(tag, "tq_syncValue")->attributeOr("value"); }

class SyncTagTest : public ::testing::Test {
 protected:
  NotesPage page;
  NodePtr notes = page.notes();
  NodePtr tmpl = page.node("", "syncTemplate");
};

TEST_F(SyncTagTest, CtrlTPutsAStampedCopyInFrontOfTheSelectedWordAndKeepsTheWord) {
  page.playerAt(12.5);
  testing::selectText(page.doc(), notes, "bold");
  const auto event = page.ctrlT();
  EXPECT_TRUE(event->cancelBubble());
  const auto tags = tagsIn(notes);
  ASSERT_EQ(tags.size(), 1u);
  EXPECT_EQ(tags[0]->parent(), page.node("", "strong").get());
  EXPECT_EQ(tags[0]->nextSibling()->data(), "bold");
  EXPECT_EQ(tags[0]->attributeOr("id", "none"), "");
  EXPECT_EQ(tags[0]->attributeOr("style"), "display: inline");
  EXPECT_EQ(fieldOf(tags[0]), "00:00:12");
  // The template is as it was: the only element with its id, still hidden.
  EXPECT_EQ(page.doc().elementById("syncTemplate"), tmpl);
  EXPECT_EQ(tmpl->attributeOr("style"), "display:none");
  EXPECT_EQ(tmpl->parent(), page.doc().body().get());
}

TEST_F(SyncTagTest, WithTheCaretOutsideTheNotesTheTagEndsTheNotesStampedHalfToEven) {
  const std::pair<double, const char*> stamps[] = {
      {12.5, "00:00:12"}, {13.5, "00:00:14"}, {3725.2, "01:02:05"}, {0, "00:00:00"}};
  testing::placeCaret(page.doc(), page.node("", "lessonText"), "outside");
  for (const auto& [seconds, shown] : stamps) {
    page.playerAt(seconds);
    page.click("synctag");
    ASSERT_FALSE(notes->children().empty());
    const NodePtr last = notes->children().back();
    EXPECT_EQ(last->attributeOr("class"), "tq_syncTag");
    EXPECT_EQ(fieldOf(last), shown) << seconds;
  }
  EXPECT_EQ(tagsIn(notes).size(), 4u);
  EXPECT_TRUE(page.top->scriptErrors.empty());
}

TEST_F(SyncTagTest, EachTagsButtonsChangeAndReadOnlyThatTagsField) {
  testing::caretAtEnd(page.doc(), notes);
  page.playerAt(10);
  page.ctrlT();
  testing::caretAtEnd(page.doc(), notes);
  page.playerAt(3599);
  page.ctrlT();
  const auto tags = tagsIn(notes);
  ASSERT_EQ(tags.size(), 2u);
  page.raise(childOfClass(tags[0], "tq_decrement"), {"click"});
  page.raise(childOfClass(tags[1], "tq_increment"), {"click"});
  EXPECT_EQ(fieldOf(tags[0]), "00:00:09");
  EXPECT_EQ(fieldOf(tags[1]), "01:00:00");

  // A typed time is put in canonical form when the field loses the focus...
  const NodePtr field = childOfClass(tags[1], "tq_syncValue");
  field->setAttribute("value", "2:3");
  EXPECT_TRUE(page.raise(field, {"focusout"})->cancelBubble());
  EXPECT_EQ(fieldOf(tags[1]), "00:02:03");
  // ...and the seek button plays from the time its own field shows.
  const auto click = page.raise(childOfClass(tags[1], "tq_sync"), {"click"});
  EXPECT_TRUE(click->cancelBubble());
  EXPECT_TRUE(click->returnValue().isEmpty());
  EXPECT_EQ(page.player->seeks.back(), 123);
  EXPECT_TRUE(page.player->playing());
  page.raise(childOfClass(tags[0], "tq_sync"), {"click"});
  EXPECT_EQ(page.player->seeks.back(), 9);
}

TEST_F(SyncTagTest, CtrlTInsideATagPutsTheNewTagAfterItEvenWhenTheTemplateIsEditable) {
  for (const bool editableTemplate : {false, true}) {
    SCOPED_TRACE(editableTemplate ? "editable template" : "template not editable");
    if (editableTemplate) tmpl->removeAttribute("contenteditable");
    notes->replaceChildren({});
    testing::caretAtEnd(page.doc(), notes);
    page.playerAt(10);
    page.ctrlT();
    ASSERT_EQ(tagsIn(notes).size(), 1u);
    const NodePtr first = tagsIn(notes)[0];
    const NodePtr field = childOfClass(first, "tq_syncValue");

    page.playerAt(20);
    page.doc().selection().placeCaret({field, 0});  // in the time field
    page.ctrlT();
    page.playerAt(30);
    page.doc().selection().placeCaret({first, 1});  // between the tag's own children
    page.ctrlT();

    const auto tags = tagsIn(notes);
    ASSERT_EQ(tags.size(), 3u);
    for (const NodePtr& tag : tags) EXPECT_EQ(tag->parent(), notes.get());
    EXPECT_EQ(fieldOf(tags[0]), "00:00:10");
    EXPECT_EQ(fieldOf(tags[1]), "00:00:30");  // each new one right after the tag
    EXPECT_EQ(fieldOf(tags[2]), "00:00:20");
    EXPECT_EQ(first->children().size(), tmpl->children().size());
    EXPECT_TRUE(page.top->scriptErrors.empty());
  }
}

TEST_F(SyncTagTest, TimeCodesStepBySecondsNeverBelowTheStartAndRefuseOverflow) {
  struct Case {
    const char* before;
    std::int32_t secs;
    const char* after;
  };
  const Case cases[] = {
      {"00:00:01", -1, "00:00:00"}, {"00:00:00", -1, "00:00:00"}, {"00:00:03", -10, "00:00:00"},
      {"00:59:59", 1, "01:00:00"},  {"1:5", 1, "00:01:06"},       {"garbage", 1, "00:00:01"},
  };
  const Element field = page.element("", "timeCode");
  for (const Case& c : cases) {
    field.setFieldValue(c.before);
    page.control.adjustTimeCode(page.windowRef(), field, c.secs);
    EXPECT_EQ(field.fieldValue(), Value(c.after)) << c.before << " " << c.secs;
  }
  field.setFieldValue("596523:14:07");
  EXPECT_EQ(testing::failureOf([&] { page.control.adjustTimeCode(page.windowRef(), field, 1); }),
            ErrorCode::Overflow);
  EXPECT_EQ(field.fieldValue(), Value("596523:14:07"));
  EXPECT_TRUE(page.player->seeks.empty());  // only the field changes
}

TEST_F(SyncTagTest, ClicksElsewhereInTheNotesOnlyStopBubblingAndClassesCountWhole) {
  testing::caretAtEnd(page.doc(), notes);
  page.ctrlT();
  const NodePtr seek = childOfClass(tagsIn(notes)[0], "tq_sync");
  seek->setAttribute("class", "tq_sync extra");
  EXPECT_TRUE(page.raise(seek, {"click"})->cancelBubble());
  const auto plain = page.click("first");
  EXPECT_TRUE(plain->cancelBubble());
  EXPECT_TRUE(plain->returnValue().isEmpty());
  EXPECT_TRUE(page.player->seeks.empty());
  // A button without a field beside it: the click stops there, nothing fails out.
  childOfClass(tagsIn(notes)[0], "tq_syncValue")->detach();
  EXPECT_TRUE(page.raise(childOfClass(tagsIn(notes)[0], "tq_increment"), {"click"})->cancelBubble());
  EXPECT_TRUE(page.top->scriptErrors.empty());
}

TEST_F(SyncTagTest, AnObjectSelectedAsAWholeFailsTheInsertionAndLeavesTheNotesAlone) {
  const std::string before = page.notesHtml();
  page.doc().selection().selectControl(page.node("", "picture"));
  page.ctrlT();
  ASSERT_EQ(page.top->scriptErrors.size(), 1u);
  EXPECT_EQ(page.top->scriptErrors[0].code(), ErrorCode::MemberNotFound);
  EXPECT_EQ(page.notesHtml(), before);
}

TEST(SyncTagRecovery, AFailedInsertionTakesItsCopyOutSoLaterInsertionsWork) {
  testing::onFreshThread([] {
    NotesPage first;  // starting it sets StartedFlag for the thread
    NotesPage second("editor_notes", false);  // enabled, but no player bound yet
    const std::string before = second.notesHtml();
    testing::caretAtEnd(second.doc(), second.notes());
    second.ctrlT();
    ASSERT_EQ(second.top->scriptErrors.size(), 1u);
    EXPECT_EQ(second.top->scriptErrors[0].code(), ErrorCode::ObjectRequired);
    EXPECT_EQ(second.notesHtml(), before);
    second.start();
    second.playerAt(42);
    second.ctrlT();
    ASSERT_EQ(tagsIn(second.notes()).size(), 1u);
    EXPECT_EQ(fieldOf(tagsIn(second.notes())[0]), "00:00:42");
    EXPECT_EQ(second.top->scriptErrors.size(), 1u);
  });
}

TEST_F(SyncTagTest, ACopyLeftBehindWithTheTemplatesIdIsTakenOutByTheNextInsertion) {
  // Notes saved with such a copy: the template lookup finds two elements.
  page.element("", "notes").setInnerHTML(
      "kept <span id=\"syncTemplate\" class=\"tq_syncTag\"><input id=\"timeCode\" class=\"tq_syncValue\"></span>");
  testing::caretAtEnd(page.doc(), notes);
  page.ctrlT();
  EXPECT_EQ(page.top->scriptErrors.size(), 1u);
  EXPECT_EQ(page.notesHtml(), "kept ");
  page.playerAt(7);
  page.ctrlT();
  ASSERT_EQ(tagsIn(notes).size(), 1u);
  EXPECT_EQ(fieldOf(tagsIn(notes)[0]), "00:00:07");
}

TEST(SyncTagGate, BeforeStartTheNotesEventsPassUntouched) {
  testing::onFreshThread([] {
    NotesPage page("editor_notes", false);
    page.player->seek(5);
    const std::string before = page.notesHtml();
    testing::caretAtEnd(page.doc(), page.notes());
    EXPECT_FALSE(page.ctrlT()->cancelBubble());
    EXPECT_FALSE(page.click("first")->cancelBubble());
    const NodePtr field = page.node("", "timeCode");
    field->setAttribute("value", "2:3");
    EXPECT_FALSE(page.raise(field, {"focusout"})->cancelBubble());
    EXPECT_EQ(field->attributeOr("value"), "2:3");
    EXPECT_EQ(page.notesHtml(), before);
    EXPECT_TRUE(page.top->scriptErrors.empty());
  });
}

}  // namespace
}  // namespace reVoziz
