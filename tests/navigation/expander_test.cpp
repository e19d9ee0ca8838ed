#include <gtest/gtest.h>

#include <string>

#include "pagemodel/layout.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using testing::LessonControl;

// The table of contents of nav_lesson, where the toc sheet closes every
// branch that has no inline display of its own.
class ToggleXpand : public ::testing::Test {
 protected:
  LessonControl l{"nav_lesson"};

  void toggle(std::string_view expander) { l.control.toggleXpand(l.element("tq_toc", expander)); }
  std::string src(std::string_view id) const { return l.node("tq_toc", id)->attributeOr("src"); }
  std::string display(std::string_view id) const {
    return l.element("tq_toc", id).style().display();
  }
  std::string style(std::string_view id) const {
    return l.node("tq_toc", id)->attributeOr("style");
  }
};

TEST_F(ToggleXpand, BranchIsTheThirdNodeAndDefaultImagesAlternate) {
  // Hidden by the sheet alone, so closed; counting elements only, the third
  // sibling of xMain would be "decoy".
  ASSERT_EQ(pagemodel::layout::offsetHeight(*l.node("tq_toc", "bMain")), 0);
  toggle("xMain");
  EXPECT_EQ(display("bMain"), "block");
  EXPECT_GT(pagemodel::layout::offsetHeight(*l.node("tq_toc", "bMain")), 0);
  EXPECT_EQ(src("xMain"), "close.gif");
  EXPECT_EQ(style("decoy"), "");
  toggle("xMain");
  EXPECT_EQ(display("bMain"), "none");
  EXPECT_EQ(src("xMain"), "open.gif");
}

TEST_F(ToggleXpand, OnlyAnInlineBlockDisplayCountsAsOpen) {
  toggle("xInline");  // shown inline, yet closed
  EXPECT_EQ(display("bInline"), "block");
  EXPECT_EQ(src("xInline"), "close.gif");
}

TEST_F(ToggleXpand, OpeningFoldsOpenDirectSubBranchesOnly) {
  toggle("xMain");
  EXPECT_EQ(display("bPlain"), "none");
  EXPECT_EQ(src("xPlain"), "open.gif");
  EXPECT_EQ(display("bOwn"), "none");
  EXPECT_EQ(src("xOwn"), "plus.gif");
  // A closed sub-branch keeps its image; a deeper open branch stays open.
  EXPECT_EQ(src("xShut"), "shut.gif");
  EXPECT_EQ(display("bShut"), "none");
  EXPECT_EQ(display("bDeep"), "block");
  EXPECT_EQ(src("xDeep"), "close.gif");
}

TEST_F(ToggleXpand, OwnImagesReplaceTheDefaults) {
  toggle("xOwn");
  EXPECT_EQ(display("bOwn"), "none");
  EXPECT_EQ(src("xOwn"), "plus.gif");
  toggle("xOwn");
  EXPECT_EQ(display("bOwn"), "block");
  EXPECT_EQ(src("xOwn"), "minus.gif");
}

TEST_F(ToggleXpand, ThirdSiblingOfAnotherClassChangesNothing) {
  const auto writes = l.document("tq_toc")->writes();
  toggle("xWrong");
  EXPECT_EQ(src("xWrong"), "open.gif");
  EXPECT_EQ(style("notBranch"), "display: none");
  EXPECT_EQ(l.document("tq_toc")->writes(), writes);
}

TEST_F(ToggleXpand, FailureMidWayKeepsEarlierFoldsAndLeavesTheBranch) {
  try {
    toggle("xBroken");
    ADD_FAILURE() << "a sub-expander with a text node in third place was accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::MemberNotFound);
  }
  EXPECT_EQ(display("bFirst"), "none");
  EXPECT_EQ(src("xFirst"), "open.gif");
  EXPECT_EQ(display("bTexty"), "block");
  EXPECT_EQ(src("xTexty"), "close.gif");
  EXPECT_EQ(src("xBroken"), "open.gif");
  EXPECT_EQ(style("bBroken"), "");
}

}  // namespace
}  // namespace reVoziz
