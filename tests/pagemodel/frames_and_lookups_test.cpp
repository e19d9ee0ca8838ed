// Loading a lesson with its frames, and finding elements through the page's
// collections the way the control does.

#include <gtest/gtest.h>

#include "core/error.h"
#include "pagemodel/page_loader.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

class FramesTest : public ::testing::Test {
 protected:
  testing::Lesson lesson{"model_frames"};
  Document top = lesson.documentRef();
  Document trans = lesson.documentRef("tq_trans");
};

TEST_F(FramesTest, FramesAreFoundByNameAndParentLeadsBackUp) {
  EXPECT_EQ(top.frame("tq_toc").document().title(), "Contents");
  EXPECT_EQ(top.frames().length(), 2);
  const Window notes = trans.frame("notes");
  EXPECT_EQ(Element(notes.document().all().member("notes")).innerText(), "My notes");
  EXPECT_TRUE(notes.parent().sameAs(top.frame("tq_trans")));
  EXPECT_TRUE(notes.parent().parent().sameAs(lesson.windowRef()));
  EXPECT_TRUE(lesson.windowRef().parent().sameAs(lesson.windowRef()));  // the top is its own

  EXPECT_EQ(testing::failureOf([&] { top.frame("tq_notes"); }), ErrorCode::MemberNotFound);
  EXPECT_TRUE(top.frames().item("tq_notes").isNull());
}

TEST(PageLoading, MissingPageOrFrameFileIsFileNotFound) {
  EXPECT_EQ(testing::failureOf([] { testing::Lesson("model_missing_frame"); }),
            ErrorCode::FileNotFound);
  EXPECT_EQ(testing::failureOf([] { pagemodel::loadPage(testing::lessonIndex("no_such_lesson")); }),
            ErrorCode::FileNotFound);
}

TEST_F(FramesTest, SettingUrlLoadsThePageAndUrlUnencodedReportsIt) {
  EXPECT_EQ(trans.URLUnencoded(), "trans.html");
  trans.setURL("trans_en.html");
  const Document loaded = top.frame("tq_trans").document();
  EXPECT_EQ(loaded.URLUnencoded(), "trans_en.html");
  EXPECT_EQ(Element(loaded.all().member("iText")).getAttribute("tq_lang"), Value("en"));

  // A missing page fails and leaves the frame as it was.
  EXPECT_EQ(testing::failureOf([&] { loaded.setURL("missing.html"); }), ErrorCode::FileNotFound);
  EXPECT_TRUE(top.frame("tq_trans").document().sameAs(loaded));

  loaded.setURL("trans.html");
  EXPECT_EQ(top.frame("tq_trans").document().URLUnencoded(), "trans.html");
  EXPECT_EQ(top.frame("tq_trans").document().frame("notes").document().title(), "Notes");
}

TEST_F(FramesTest, AllFindsByIdOrNameAndASharedNameYieldsAllInDocumentOrder) {
  const Collection all = top.all();
  EXPECT_EQ(Element(all.item("modefull")).tagName(), "IMG");
  EXPECT_EQ(Element(all.member("single")).id(), "tq_single");  // a name held once
  EXPECT_TRUE(all.item("nothing").isNull());
  EXPECT_EQ(testing::failureOf([&] { all.member("nothing"); }), ErrorCode::MemberNotFound);

  for (const Value& found : {all.item("mode"), all.member("mode")}) {
    const Collection group(found);
    ASSERT_EQ(group.length(), 3);
    EXPECT_EQ(group.element(0).id(), "modefull");
    EXPECT_EQ(group.element(1).id(), "modetoc");
    EXPECT_EQ(group.element(2).id(), "modevideo");
  }
}

// Lookups by id and name go through the document's index, which must follow
// every change of ids, names and the tree.
TEST_F(FramesTest, LookupsByIdFollowChangesOfIdsNamesAndTheTree) {
  const Collection all = trans.all();
  const Element iText(all.member("iText"));
  const auto s3 = lesson.node("tq_trans", "s3");
  const auto s7 = lesson.node("tq_trans", "s7");
  EXPECT_TRUE(Element(all.item("s3")).sameAs(Element(std::shared_ptr<Object>(s3))));

  s3->setAttribute("id", "three");
  EXPECT_TRUE(all.item("s3").isNull());
  EXPECT_EQ(Element(iText.all().item("three")).innerText(), "00:30 Three");
  EXPECT_EQ(lesson.document("tq_trans")->elementById("three"), s3);

  // A duplicate: the first in document order answers, and both as a group.
  s7->setAttribute("id", "three");
  EXPECT_EQ(lesson.document("tq_trans")->elementById("three"), s3);
  EXPECT_EQ(Collection(all.item("three")).length(), 2);
  s3->removeAttribute("id");
  EXPECT_EQ(lesson.document("tq_trans")->elementById("three"), s7);
  s7->setAttribute("name", "seven");
  EXPECT_TRUE(Element(iText.all().member("seven")).sameAs(Element(std::shared_ptr<Object>(s7))));

  // Removed from the tree, then found again once back; markup added later too.
  s7->detach();
  EXPECT_TRUE(all.item("three").isNull());
  EXPECT_EQ(lesson.document("tq_trans")->elementById("three"), nullptr);
  Element(all.member("after")).setInnerHTML("<b id='three'>bold</b>");
  EXPECT_EQ(Element(all.item("three")).tagName(), "B");
  EXPECT_TRUE(iText.all().item("three").isNull());  // outside the collection's root
  lesson.node("tq_trans", "iText")->insertBefore(s7, nullptr);
  EXPECT_EQ(Collection(all.item("three")).length(), 2);
  EXPECT_EQ(Element(iText.all().item("three")).innerText(), "01:10 Seven");
}

// A detached subtree is outside the document's index; its own collections
// still find what it holds.
TEST_F(FramesTest, ADetachedSubtreeFindsItsOwnElements) {
  const auto iText = lesson.node("tq_trans", "iText");
  iText->detach();
  const Element detached{std::shared_ptr<Object>(iText)};
  EXPECT_EQ(Element(detached.all().item("s2")).innerText(), "00:20 Two");
  EXPECT_TRUE(trans.all().item("s2").isNull());
}

TEST_F(FramesTest, TagsAndChildrenKeepDocumentOrder) {
  const Element iText(trans.all().member("iText"));
  const Collection divs = iText.all().tags("DIV");
  ASSERT_EQ(divs.length(), 10);
  for (std::int32_t i = 0; i < divs.length(); ++i) {
    EXPECT_EQ(divs.element(i).id().substr(1), std::to_string(i));
  }
  EXPECT_EQ(iText.all().tags("span").length(), 10);
  // Children are the child elements only: no text, no grandchildren.
  EXPECT_EQ(Element(trans.all().member("s3")).children().length(), 1);
  EXPECT_EQ(Element(top.all().member("toolbar")).children().tags("IMG").length(), 2);
}

TEST_F(FramesTest, UniqueIdIsStableUniqueAndFoundWithinItsRoot) {
  const Element iText(trans.all().member("iText"));
  const Element s4(trans.all().member("s4"));
  const std::string id4 = s4.uniqueID();
  EXPECT_EQ(iText.all().tags("DIV").element(4).uniqueID(), id4);
  EXPECT_NE(Element(trans.all().member("s5")).uniqueID(), id4);
  EXPECT_TRUE(Element(iText.all().item(id4)).sameAs(s4));
  EXPECT_TRUE(Element(trans.all().member(id4)).sameAs(s4));

  // Outside the collection's root, the root itself included, nothing is found.
  EXPECT_TRUE(iText.all().item(Element(trans.all().member("after")).uniqueID()).isNull());
  EXPECT_TRUE(iText.all().item(iText.uniqueID()).isNull());
  EXPECT_TRUE(Element(trans.all().member("s5")).all().item(id4).isNull());
  s4.removeNode(true);
  EXPECT_TRUE(trans.all().item(id4).isNull());
}

}  // namespace
}  // namespace reVoziz
