// The sample lesson's notes page: its edit bar, its sync-tag template and the
// handlers that forward the notes editor's events to the control.

#include <gtest/gtest.h>

#include "pagemodel/html_serializer.h"
#include "pagemodel/page_loader.h"
#include "support/notes_page.h"
#include "support/scratch_folder.h"

namespace reVoziz {
namespace {

using pagemodel::NodePtr;

class SampleNotesPage : public ::testing::Test {
 protected:
  SampleNotesPage() {
    pagemodel::navigate(*lesson.window("tq_trans"), "notes.html");
    lesson.player->seek(61.5);
    lesson.player->pause();
  }
  std::shared_ptr<pagemodel::EventModel> raise(const NodePtr& target, pagemodel::EventInit init) {
    return pagemodel::raiseEvent(*lesson.window("tq_trans"), target, std::move(init));
  }
  NodePtr node(std::string_view id) const { return lesson.node("tq_trans", id); }
  pagemodel::DocumentModel& doc() const { return *lesson.document("tq_trans"); }
  std::string notesHtml() const { return pagemodel::serializeChildren(*node("notes")); }

  testing::NotesPage lesson{REVOZIZ_SAMPLE_LESSON};
};

TEST_F(SampleNotesPage, HandlersForwardKeysClicksFocusAndPastesToTheControl) {
  for (const char* id : {"newnotes", "opennotes", "save", "undo", "redo", "cut", "copy", "paste", "bold",
                         "italic", "synctag"}) {
    EXPECT_TRUE(raise(node(id), {"click"})->cancelBubble()) << id;
  }
  node("notes")->appendChild(pagemodel::Node::makeText("Apertura"));
  testing::caretAtEnd(doc(), node("notes"));
  raise(node("notes"), {"keydown", 84, true});
  const NodePtr tag = node("notes")->children().back();
  ASSERT_EQ(tag->attributeOr("class"), "tq_syncTag");
  NodePtr field, forward, seek;
  tag->forEachDescendantElement([&](const NodePtr& e) {
    const std::string cls = e->attributeOr("class");
    if (cls == "tq_syncValue") field = e;
    if (cls == "tq_increment") forward = e;
    if (cls == "tq_sync") seek = e;
    return true;
  });
  ASSERT_TRUE(field && forward && seek);
  EXPECT_EQ(field->attributeOr("value"), "00:01:02");
  raise(forward, {"click"});
  EXPECT_EQ(field->attributeOr("value"), "00:01:03");
  field->setAttribute("value", "90");
  raise(field, {"focusout"});
  EXPECT_EQ(field->attributeOr("value"), "00:01:30");
  raise(seek, {"click"});
  EXPECT_EQ(lesson.player->seeks.back(), 90);

  lesson.top->clipboard.html = "<i onmouseover=\"x()\">pegado</i>";
  testing::caretAtEnd(doc(), node("notes"));
  raise(node("paste"), {"click"});
  EXPECT_NE(notesHtml().find("</span><i>pegado</i>"), std::string::npos) << notesHtml();
  EXPECT_TRUE(lesson.window("tq_trans")->scriptErrors.empty());
}

TEST_F(SampleNotesPage, TheFileButtonsSaveAndEmptyTheNotes) {
  testing::ScratchFolder folder;
  const std::string file = folder.file("clase.notes");
  lesson.element("tq_trans", "notes").setInnerHTML("<p>Diafragma</p>");
  lesson.fileDialog().answers.push_back(file);
  raise(node("save"), {"click"});
  EXPECT_NE(folder.read("clase.notes").find("<p>Diafragma</p>"), std::string::npos);
  EXPECT_EQ(pagemodel::serializeChildren(*node("notesFile")), "clase.notes");

  raise(node("newnotes"), {"click"});  // saved: no question
  EXPECT_EQ(notesHtml(), "");
  lesson.fileDialog().answers.push_back(file);
  raise(node("opennotes"), {"click"});
  EXPECT_EQ(notesHtml(), "<p>Diafragma</p>");
  // A cancelled dialog fails the command; the edit bar drops the failure.
  lesson.fileDialog().answers.push_back(std::nullopt);
  raise(node("save"), {"click"});
  EXPECT_TRUE(lesson.window("tq_trans")->scriptErrors.empty());
}

}  // namespace
}  // namespace reVoziz
