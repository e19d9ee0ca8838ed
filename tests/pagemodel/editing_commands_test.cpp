// execCommand's editing commands, the clipboard and the undo history, the
// paste event, handler attributes and drag-and-drop.

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "pagemodel/drag_gesture.h"
#include "pagemodel/event_dispatch.h"
#include "pagemodel/html_serializer.h"
#include "support/editing.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using pagemodel::NodePtr;
using testing::caretAtEnd;
using testing::placeCaret;
using testing::selectText;

class EditingTest : public ::testing::Test {
 protected:
  EditingTest() {
    // A script object that records the calls of the page's handlers.
    lesson.top->scriptObjects["probe"] = [this](std::string_view method, pagemodel::WindowModel& w) {
      calls.emplace_back(method);
      if (const auto found = actions.find(std::string(method)); found != actions.end()) found->second(w);
    };
  }
  void handle(const NodePtr& node, std::string_view type, std::string_view method) {
    node->setAttribute("on" + std::string(type), "probe." + std::string(method) + "(window)");
  }
  bool exec(std::string_view command) { return page.execCommand(command).toBool(); }
  std::string html(std::string_view id) const { return pagemodel::serializeChildren(*lesson.node("", id)); }
  std::optional<std::string>& clipboard() { return lesson.top->clipboard.html; }

  testing::Lesson lesson{"editor_notes"};
  pagemodel::DocumentModel& doc = *lesson.document();
  Document page = lesson.documentRef();
  NodePtr notes = lesson.node("", "notes");
  std::vector<std::string> calls;
  std::map<std::string, std::function<void(pagemodel::WindowModel&)>> actions;
};

TEST_F(EditingTest, ClipboardCommandsChangeOnlyEditableContentAndCanBeUndone) {
  selectText(doc, lesson.node("", "lessonText"), "outside");
  EXPECT_TRUE(exec("Copy"));
  EXPECT_EQ(clipboard(), "outside");
  EXPECT_FALSE(exec("Cut"));  // the lesson's text is not editable
  EXPECT_EQ(html("lessonText"), "Lesson text outside the notes.");

  const std::string original = html("notes");
  doc.selection().selectRange(testing::pointAt(notes, "notes."), testing::pointAt(notes, "bold", 2));
  EXPECT_TRUE(exec("cut"));  // command names without case
  EXPECT_EQ(clipboard(), "<p id=\"first\">notes.</p><p id=\"second\">Second <b id=\"strong\">bo</b></p>");
  EXPECT_EQ(html("first"), "First line of ");
  EXPECT_EQ(html("second"), "<b id=\"strong\">ld</b> line.");
  const std::string cut = html("notes");

  EXPECT_TRUE(exec("Undo"));
  EXPECT_EQ(html("notes"), original);
  EXPECT_TRUE(exec("Redo"));
  EXPECT_EQ(html("notes"), cut);
  EXPECT_TRUE(exec("Undo"));
  EXPECT_FALSE(exec("Undo"));  // nothing more to take back
  EXPECT_EQ(html("notes"), original);

  // A new edit drops what could have been redone.
  selectText(doc, notes, "First");
  EXPECT_TRUE(exec("Copy"));  // copying is no edit
  EXPECT_TRUE(exec("Redo"));
  EXPECT_EQ(html("notes"), cut);
  EXPECT_TRUE(exec("Undo"));
  selectText(doc, notes, "First");
  EXPECT_TRUE(exec("Cut"));
  EXPECT_FALSE(exec("Redo"));
  EXPECT_THROW(exec("Delete"), Error);
}

TEST_F(EditingTest, BoldAndItalicWrapTheSelectionOrTakeTheirFormattingAway) {
  selectText(doc, notes, "line of");
  EXPECT_TRUE(exec("Bold"));
  EXPECT_EQ(html("first"), "First <b>line of</b> notes.");
  EXPECT_EQ(page.selection().createRange().parentElement().tagName(), "B");
  EXPECT_TRUE(exec("Bold"));
  EXPECT_EQ(html("first"), "First line of notes.");
  selectText(doc, notes, "Second");
  EXPECT_TRUE(exec("Italic"));
  EXPECT_EQ(html("second"), "<i>Second</i> <b id=\"strong\">bold</b> line.");
  // A caret formats nothing, and nothing outside the notes is formatted.
  placeCaret(doc, notes, "line.", 2);
  EXPECT_FALSE(exec("Bold"));
  selectText(doc, lesson.node("", "lessonText"), "Lesson");
  EXPECT_FALSE(exec("Italic"));
  EXPECT_EQ(html("lessonText"), "Lesson text outside the notes.");
}

TEST_F(EditingTest, PasteRaisesItsEventBeforeItReturnsAndPastesOnlyWhatIsNotCancelled) {
  handle(notes, "paste", "paste");
  clipboard() = "<u>clip</u>";
  selectText(doc, notes, "Second");
  NodePtr source;
  actions["paste"] = [&](pagemodel::WindowModel& w) {
    source = w.event->srcElement();
    w.event->put("returnValue", false);
  };
  EXPECT_TRUE(exec("Paste"));
  EXPECT_EQ(calls, std::vector<std::string>{"paste"});
  EXPECT_EQ(source, lesson.node("", "second"));  // raised where the selection is, bubbling up
  EXPECT_EQ(html("second"), "Second <b id=\"strong\">bold</b> line.");

  actions.erase("paste");
  EXPECT_TRUE(exec("Paste"));
  EXPECT_EQ(html("second"), "<u>clip</u> <b id=\"strong\">bold</b> line.");
  EXPECT_TRUE(exec("Paste"));  // the caret now stands after the pasted content
  EXPECT_EQ(html("second"), "<u>clip</u><u>clip</u> <b id=\"strong\">bold</b> line.");

  // An empty clipboard: the event comes, nothing is pasted.
  clipboard().reset();
  EXPECT_TRUE(exec("Paste"));
  EXPECT_EQ(calls.size(), 4u);
  // Clipboard access refused to scripts: no event at all.
  clipboard() = "x";
  lesson.top->clipboard.scriptAccess = false;
  EXPECT_FALSE(exec("Paste"));
  EXPECT_EQ(calls.size(), 4u);
  EXPECT_EQ(html("second"), "<u>clip</u><u>clip</u> <b id=\"strong\">bold</b> line.");
}

TEST_F(EditingTest, APasteHandlerCanIssueAPasteOfItsOwnWhichRaisesANestedEvent) {
  handle(notes, "paste", "paste");
  clipboard() = "<i>in</i>";
  caretAtEnd(doc, lesson.node("", "first"));
  int depth = 0, deepest = 0;
  bool reissued = false;
  actions["paste"] = [&](pagemodel::WindowModel& w) {
    ++depth;
    deepest = std::max(deepest, depth);
    if (!reissued) {
      reissued = true;
      w.event->put("returnValue", false);
      page.execCommand("Paste", true);
    }
    --depth;
  };
  EXPECT_TRUE(exec("Paste"));
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(html("first"), "First line of notes.<i>in</i>");  // once: the outer paste was cancelled
  EXPECT_FALSE(lesson.top->event);
}

TEST_F(EditingTest, HandlersRunNearestFirstUntilBubblingIsCancelledAndErrorsDoNotStopThem) {
  const NodePtr strong = lesson.node("", "strong");
  strong->setAttribute("onclick", "return parent.top.probe.inner(window);");
  handle(lesson.node("", "second"), "click", "missing");
  notes->setAttribute("onclick", "nobody.click(window)");
  handle(doc.body(), "click", "outer");
  actions["missing"] = [](pagemodel::WindowModel&) { throw Error(ErrorCode::MemberNotFound, "missing"); };
  auto event = pagemodel::raiseEvent(*lesson.top, strong, {"click"});
  EXPECT_EQ(calls, (std::vector<std::string>{"inner", "missing", "outer"}));
  ASSERT_EQ(lesson.top->scriptErrors.size(), 2u);
  EXPECT_EQ(lesson.top->scriptErrors[0].code(), ErrorCode::MemberNotFound);
  EXPECT_STREQ(lesson.top->scriptErrors[1].what(), "'nobody' is undefined");

  actions["inner"] = [](pagemodel::WindowModel& w) { w.event->put("cancelBubble", true); };
  calls.clear();
  event = pagemodel::raiseEvent(*lesson.top, strong, {"click"});
  EXPECT_EQ(calls, std::vector<std::string>{"inner"});
  EXPECT_TRUE(pagemodel::defaultAllowed(*event));

  strong->setAttribute("onclick", "alert('hi')");
  pagemodel::raiseEvent(*lesson.top, strong, {"click"});
  EXPECT_EQ(lesson.top->scriptErrors.back().code(), ErrorCode::HostError);
}

TEST_F(EditingTest, DragsMoveWithinTheNotesCopyFromOutsideAndHonourACancelledDrop) {
  for (const char* type : {"dragstart", "dragenter", "drop", "dragend"}) handle(doc.body(), type, type);
  selectText(doc, notes, "Second ");
  EXPECT_TRUE(pagemodel::dragSelection(*lesson.top, *lesson.top, testing::pointAt(notes, "notes.")));
  EXPECT_EQ(calls, (std::vector<std::string>{"dragstart", "dragenter", "drop", "dragend"}));
  EXPECT_EQ(html("first"), "First line of Second notes.");
  EXPECT_EQ(html("second"), "<b id=\"strong\">bold</b> line.");

  // From the lesson's text into the notes: copied.
  selectText(doc, lesson.node("", "lessonText"), "Lesson");
  EXPECT_TRUE(pagemodel::dragSelection(*lesson.top, *lesson.top, testing::pointAt(notes, "line.")));
  EXPECT_EQ(html("second"), "<b id=\"strong\">bold</b> Lessonline.");
  EXPECT_EQ(html("lessonText"), "Lesson text outside the notes.");

  // A cancelled drop, and a drop on content that is not editable, drop nothing.
  actions["drop"] = [](pagemodel::WindowModel& w) { w.event->put("returnValue", false); };
  selectText(doc, notes, "First");
  EXPECT_FALSE(pagemodel::dragSelection(*lesson.top, *lesson.top, testing::pointAt(notes, "line.")));
  actions.erase("drop");
  EXPECT_FALSE(pagemodel::dragSelection(*lesson.top, *lesson.top,
                                        testing::pointAt(lesson.node("", "lessonText"), "text")));
  EXPECT_EQ(html("first"), "First line of Second notes.");
  EXPECT_EQ(html("lessonText"), "Lesson text outside the notes.");
  EXPECT_EQ(calls.size(), 16u);  // every drag still ends
}

}  // namespace
}  // namespace reVoziz
