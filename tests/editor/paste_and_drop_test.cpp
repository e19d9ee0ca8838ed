// Paste into the notes, re-issued into a marker and cleaned there, and what a
// paste that fails or pastes nothing leaves; drops from inside and outside.

#include <gtest/gtest.h>

#include "pagemodel/drag_gesture.h"
#include "pagemodel/html_serializer.h"
#include "support/notes_page.h"

namespace reVoziz {
namespace {

using pagemodel::NodePtr;
using testing::NotesPage;

class PasteTest : public ::testing::Test {
 protected:
  void clipboard(std::string html) { page.top->clipboard.html = std::move(html); }
  // A paste from the keyboard: the browser's own paste command.
  void keyboardPaste() { page.documentRef().execCommand("Paste"); }
  bool markerLeft() const { return page.notesHtml().find("pastePoint") != std::string::npos; }

  NotesPage page;
};

TEST_F(PasteTest, AKeyboardPasteAtTheCaretArrivesCleanedAndLeavesNoMarker) {
  clipboard(
      "<b onclick=\"steal()\" title=\"kept\">hi</b><object data=\"x.swf\"><param name=\"a\"></object>"
      "<img src=\"data:image/gif;base64,R0lGODlhAQABAAAAACw=\" onerror=\"  \" onload><u ONMOUSEOVER=\"x()\">u</u>");
  testing::placeCaret(page.doc(), page.notes(), "notes.");
  keyboardPaste();
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")),
            "First line of <b title=\"kept\">hi</b><img src=\"data:image/gif;base64,R0lGODlhAQABAAAAACw=\"><u>u</u>notes.");
  EXPECT_FALSE(markerLeft());
  EXPECT_FALSE(page.control.editor().pasteInProgress());
  EXPECT_TRUE(page.top->scriptErrors.empty());
}

TEST_F(PasteTest, TheEditBarsPasteReplacesTheSelectionAndIsCleanedTheSameWay) {
  clipboard("<i onfocus=\"x()\">new</i>");
  testing::selectText(page.doc(), page.notes(), "Second");
  EXPECT_TRUE(page.click("paste")->cancelBubble());
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "second")), "<i>new</i> <b id=\"strong\">bold</b> line.");
  EXPECT_FALSE(markerLeft());
  EXPECT_FALSE(page.control.editor().pasteInProgress());
  // The caret stands after the pasted content, so a second paste follows it.
  keyboardPaste();
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "second")),
            "<i>new</i><i>new</i> <b id=\"strong\">bold</b> line.");
}

TEST_F(PasteTest, PastesOutsideTheNotesIntoATagOrOverAWholeObjectAreRefused) {
  clipboard("<b>x</b>");
  const std::string before = page.notesHtml();
  const Window w = page.windowRef();
  const auto refused = [&] {
    const auto d = page.dispatch("", page.notes(), [&](const Window& win) { page.control.notesPaste(win); },
                                 {"paste"});
    EXPECT_FALSE(d.failure);
    return d.event->returnValue() == Value(false) && d.event->cancelBubble();
  };
  testing::selectText(page.doc(), page.node("", "lessonText"), "Lesson");
  EXPECT_TRUE(refused());
  page.doc().selection().selectControl(page.node("", "picture"));
  EXPECT_TRUE(refused());
  keyboardPaste();
  EXPECT_EQ(page.notesHtml(), before);

  testing::caretAtEnd(page.doc(), page.notes());
  page.ctrlT();
  const NodePtr field = page.notes()->children().back()->children()[2];
  page.doc().selection().placeCaret({field, 0});
  EXPECT_TRUE(refused());
  const std::string withTag = page.notesHtml();
  keyboardPaste();
  EXPECT_EQ(page.notesHtml(), withTag);
  EXPECT_FALSE(page.control.editor().pasteInProgress());
  (void)w;
}

TEST_F(PasteTest, NothingToPasteLeavesNeitherMarkerNorRaisedFlag) {
  const std::string before = page.notesHtml();
  testing::caretAtEnd(page.doc(), page.node("", "first"));
  // An empty clipboard: the nested event comes, nothing is pasted.
  page.top->clipboard.html.reset();
  page.click("paste");
  EXPECT_EQ(page.notesHtml(), before);
  EXPECT_FALSE(page.control.editor().pasteInProgress());
  // Clipboard refused to scripts: the re-issued paste raises no event at all.
  clipboard("<b onclick=\"x()\">late</b>");
  page.top->clipboard.scriptAccess = false;
  page.click("paste");
  EXPECT_EQ(page.notesHtml(), before);
  EXPECT_FALSE(page.control.editor().pasteInProgress());
  // So the next paste is cleaned, not let through.
  page.top->clipboard.scriptAccess = true;
  page.click("paste");
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First line of notes.<b>late</b>");
}

TEST_F(PasteTest, AHostThatPastesWithoutTheNestedEventStillGetsItsPasteCleaned) {
  page.notes()->removeAttribute("onpaste");  // the page forwards no paste events
  clipboard("<b onclick=\"x()\">raw</b><script>x()</script>");
  testing::caretAtEnd(page.doc(), page.node("", "first"));
  const auto d = page.dispatch("", page.notes(), [&](const Window& w) { page.control.notesPaste(w); }, {"paste"});
  EXPECT_FALSE(d.failure);
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First line of notes.<b>raw</b>");
  EXPECT_FALSE(page.control.editor().pasteInProgress());
}

TEST_F(PasteTest, AFailedPasteTakesItsMarkerOutAndTheNextPasteWorks) {
  // A marker left in notes saved by an older version: the lookup finds two.
  page.element("", "second").setInnerHTML("old <span id=\"pastePoint\" style=\"display:none;\">[paste]</span>");
  clipboard("<b onclick=\"x()\">x</b>");
  testing::caretAtEnd(page.doc(), page.node("", "first"));
  keyboardPaste();
  ASSERT_EQ(page.top->scriptErrors.size(), 1u);
  EXPECT_EQ(page.notesHtml().find("[paste]"), std::string::npos);
  EXPECT_FALSE(page.control.editor().pasteInProgress());
  keyboardPaste();
  EXPECT_EQ(page.top->scriptErrors.size(), 1u);
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First line of notes.<b>x</b>");
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "second")), "old ");
}

TEST_F(PasteTest, PastedIdsCannotBreakLaterPastesOrTags) {
  clipboard("<span id=\"pastePoint\">a</span><a name=\"PASTEPOINT\">b</a><span id=\"syncTemplate\">c</span>");
  testing::caretAtEnd(page.doc(), page.node("", "first"));
  keyboardPaste();
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")),
            "First line of notes.<span>a</span><a>b</a><span>c</span>");
  clipboard("<i>again</i>");
  keyboardPaste();
  page.ctrlT();
  EXPECT_TRUE(page.top->scriptErrors.empty());
  EXPECT_NE(page.notesHtml().find("<i>again</i><span id=\"\" class=\"tq_syncTag\""), std::string::npos);
}

TEST_F(PasteTest, APasteTheControlCannotJudgeIsRefusedNotLeftToTheHost) {
  // A first paste cannot plant a second "notes", which would make every
  // later paste fail before it could clean.
  clipboard("<b id=\"notes\">x</b>");
  testing::caretAtEnd(page.doc(), page.node("", "first"));
  keyboardPaste();
  clipboard("<img src=\"data:image/png,x\" onerror=\"alert(1)\">");
  keyboardPaste();
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")),
            "First line of notes.<b>x</b><img src=\"data:image/png,x\">");
  EXPECT_TRUE(page.top->scriptErrors.empty());

  // Whatever makes the control fail, the host's own paste does not happen.
  const NodePtr notes = page.notes();
  notes->setAttribute("id", "renamed");
  const std::string before = pagemodel::serializeChildren(*notes);
  keyboardPaste();
  EXPECT_EQ(page.top->scriptErrors.size(), 1u);
  EXPECT_EQ(pagemodel::serializeChildren(*notes), before);
  EXPECT_FALSE(page.control.editor().pasteInProgress());
}

TEST_F(PasteTest, PastedTextThatReadsLikeThePlaceholderIsKept) {
  page.top->clipboard.html = "[paste]";
  testing::caretAtEnd(page.doc(), page.node("", "first"));
  keyboardPaste();
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First line of notes.[paste]");
  EXPECT_FALSE(markerLeft());
}

class DropTest : public PasteTest {};

TEST_F(DropTest, TextDraggedWithinTheNotesMovesAndTextFromOutsideIsRefused) {
  testing::selectText(page.doc(), page.notes(), "Second ");
  EXPECT_TRUE(pagemodel::dragSelection(*page.top, *page.top, testing::pointAt(page.notes(), "notes.")));
  EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First line of Second notes.");
  EXPECT_FALSE(page.control.editor().dragFromNotes());  // the drag has ended

  const std::string before = page.notesHtml();
  testing::selectText(page.doc(), page.node("", "lessonText"), "Lesson");
  EXPECT_FALSE(pagemodel::dragSelection(*page.top, *page.top, testing::pointAt(page.notes(), "notes.")));
  EXPECT_EQ(page.notesHtml(), before);
  EXPECT_TRUE(page.top->scriptErrors.empty());
}

TEST(DropGate, BeforeStartDropsAreLeftToTheHost) {
  testing::onFreshThread([] {
    NotesPage page("editor_notes", false);
    testing::selectText(page.doc(), page.node("", "lessonText"), "Lesson");
    EXPECT_TRUE(pagemodel::dragSelection(*page.top, *page.top, testing::pointAt(page.notes(), "notes.")));
    EXPECT_EQ(pagemodel::serializeChildren(*page.node("", "first")), "First line of Lessonnotes.");
  });
}

}  // namespace
}  // namespace reVoziz
