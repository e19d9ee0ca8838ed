// The edit bar, Ctrl+T, and the rules on where editing may happen.

#include <gtest/gtest.h>

#include "pagemodel/html_serializer.h"
#include "support/notes_page.h"

namespace reVoziz {
namespace {

using pagemodel::NodePtr;
using testing::NotesPage;

class EditBarTest : public ::testing::Test {
 protected:
  const std::vector<std::string>& commands() const { return page.doc().executedCommands; }
  // Places a tag at the end of the notes; returns it.
  NodePtr insertTag() {
    testing::caretAtEnd(page.doc(), page.notes());
    page.ctrlT();
    return page.notes()->children().back();
  }

  NotesPage page;
};

TEST_F(EditBarTest, FormattingAndClipboardButtonsWorkInsideTheNotes) {
  testing::selectText(page.doc(), page.notes(), "line of");
  EXPECT_TRUE(page.click("bold")->cancelBubble());
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First <b>line of</b> notes.");
  page.click("copy");
  EXPECT_EQ(page.top->clipboard.html, "line of");
  page.click("italic");
  page.click("cut");
  page.click("undo");
  page.click("redo");
  EXPECT_EQ(commands(), (std::vector<std::string>{"Bold", "Copy", "Italic", "Cut", "Undo", "Redo"}));
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First <b><i></i></b> notes.");
  // A caret is enough for the guard.
  testing::placeCaret(page.doc(), page.notes(), "notes.");
  page.click("bold");
  EXPECT_EQ(commands().back(), "Bold");
}

TEST_F(EditBarTest, OutsideTheNotesOrInsideATagOnlyUndoAndRedoRun) {
  testing::selectText(page.doc(), page.node("", "lessonText"), "Lesson");
  for (const char* id : {"copy", "cut", "bold", "italic", "paste"}) page.click(id);
  EXPECT_TRUE(commands().empty());
  EXPECT_FALSE(page.top->clipboard.html);
  page.click("undo");
  EXPECT_EQ(commands(), std::vector<std::string>{"Undo"});

  const NodePtr tag = insertTag();
  NodePtr field;
  for (const NodePtr& c : tag->children()) {
    if (c->tag() == "input") field = c;
  }
  page.doc().selection().placeCaret({field, 0});
  EXPECT_TRUE(page.control.parentSelection(page.windowRef()).sameAs(Element(field)));
  EXPECT_FALSE(page.control.editableSelection(page.windowRef()));
  page.click("italic");
  page.click("paste");
  EXPECT_EQ(commands(), std::vector<std::string>{"Undo"});
  page.click("Bold");  // ids are compared with their case
  EXPECT_EQ(commands(), std::vector<std::string>{"Undo"});
}

TEST_F(EditBarTest, AnObjectSelectedAsAWholeIsJudgedByTheElementThatHoldsIt) {
  const Window w = page.windowRef();
  page.doc().selection().selectControl(page.node("", "picture"));
  EXPECT_TRUE(page.control.parentSelection(w).sameAs(page.element("", "notes")));
  EXPECT_TRUE(page.control.editableSelection(w));

  // A tag's button: the tag holds it, and only what lies above the tag counts.
  const NodePtr tag = insertTag();
  page.doc().selection().selectControl(tag->children().front());
  EXPECT_TRUE(page.control.parentSelection(w).sameAs(Element(tag)));
  EXPECT_TRUE(page.control.editableSelection(w));

  // An image in the lesson's text is outside the notes.
  page.node("", "lessonText")->appendChild(pagemodel::Node::makeElement("img"));
  page.doc().selection().selectControl(page.node("", "lessonText")->children().back());
  EXPECT_FALSE(page.control.editableSelection(w));
}

TEST_F(EditBarTest, CtrlTInsertsATagWhateverShiftAndAltSayButTAloneDoesNot) {
  const struct {
    int key;
    bool ctrl, shift, alt;
    bool inserts;
  } keys[] = {{84, true, false, false, true}, {84, true, true, false, true}, {84, true, false, true, true},
              {84, false, false, false, false}, {84, false, false, true, false}, {85, true, false, false, false}};
  std::size_t expected = page.notes()->children().size();
  for (const auto& k : keys) {
    testing::caretAtEnd(page.doc(), page.notes());
    const auto event = page.raise(page.notes(), {"keydown", k.key, k.ctrl, k.shift, k.alt});
    if (k.inserts) ++expected;
    EXPECT_EQ(page.notes()->children().size(), expected) << k.key << k.ctrl << k.shift << k.alt;
    EXPECT_EQ(event->cancelBubble(), k.inserts);  // only the tag insertion stops the key
    EXPECT_TRUE(event->returnValue().isEmpty());
  }
}

TEST_F(EditBarTest, TheTagButtonAppendsWhenTheCaretIsOutsideTheNotes) {
  testing::placeCaret(page.doc(), page.node("", "lessonText"), "text");
  page.click("synctag");
  EXPECT_EQ(page.notes()->children().back()->attributeOr("class"), "tq_syncTag");
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "lessonText")), "Lesson text outside the notes.");
}

TEST_F(EditBarTest, FailingStepsAreSkippedAndAFailedGuardLetsTheCommandRun) {
  // Without a notes element the guard fails, and counts as passed.
  page.node("", "notes")->setAttribute("id", "elsewhere");
  testing::selectText(page.doc(), page.node("", "lessonText"), "Lesson");
  EXPECT_EQ(testing::failureOf([&] { page.control.editableSelection(page.windowRef()); }),
            ErrorCode::MemberNotFound);
  page.click("bold");
  page.click("copy");
  EXPECT_EQ(commands(), (std::vector<std::string>{"Bold", "Copy"}));
  // A failing tag insertion is dropped silently.
  page.click("synctag");
  EXPECT_TRUE(page.top->scriptErrors.empty());
  // A click with no button id at all does nothing.
  page.click("editBar");
  EXPECT_EQ(commands().size(), 2u);
  // Without an event, the method still returns quietly.
  EXPECT_NO_THROW(page.control.editBarDispatch(page.windowRef()));
}

TEST(EditBarGate, BeforeStartNothingRunsAndClicksBubbleOn) {
  testing::onFreshThread([] {
    NotesPage page("editor_notes", false);
    testing::selectText(page.doc(), page.notes(), "First");
    for (const char* id : {"bold", "undo", "synctag"}) EXPECT_FALSE(page.click(id)->cancelBubble());
    EXPECT_TRUE(page.doc().executedCommands.empty());
    EXPECT_FALSE(page.control.editableSelection(page.windowRef()));
    EXPECT_TRUE(page.control.parentSelection(page.windowRef()).sameAs(page.element("", "first")));
  });
}

}  // namespace
}  // namespace reVoziz
