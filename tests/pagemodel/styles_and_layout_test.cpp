// Inline and runtime styles, style sheet rules, and the deterministic layout
// that the marking and scrolling of segments read.

#include <gtest/gtest.h>

#include "support/lesson.h"

namespace reVoziz {
namespace {

class StylesAndLayoutTest : public ::testing::Test {
 protected:
  testing::Lesson lesson{"model_frames"};
  Document trans = lesson.documentRef("tq_trans");
  Element byId(std::string_view id) const { return Element(trans.all().member(id)); }
};

TEST_F(StylesAndLayoutTest, InlineStyleReadsBackAndRuntimeStyleIsSeparate) {
  const Element s1 = byId("s1");
  s1.style().setCssText("Color:Red;display:inline ");
  EXPECT_EQ(s1.style().cssText(), "Color:Red;display:inline ");
  EXPECT_EQ(s1.style().display(), "inline");
  s1.style().setVisibility("hidden");
  s1.style().setDisplay("");
  EXPECT_EQ(s1.getAttribute("style"), Value("color: Red; visibility: hidden"));

  s1.runtimeStyle().setCssText("background-color: #dde");
  EXPECT_EQ(s1.runtimeStyle().cssText(), "background-color: #dde");
  EXPECT_EQ(s1.style().cssText(), "color: Red; visibility: hidden");
  EXPECT_FALSE(s1.style().sameAs(s1.runtimeStyle()));
}

TEST_F(StylesAndLayoutTest, DisplayedBlocksStackAtTheLineHeight) {
  struct Case {
    const char* id;
    int top;
    int height;
  };
  for (const Case& c : {Case{"iText", 0, 200}, Case{"s0", 0, 20}, Case{"s3", 60, 20},
                        Case{"after", 200, 20}, Case{"byClass", 220, 0}, Case{"folded", 220, 0},
                        Case{"inside", 220, 0}, Case{"last", 220, 20}}) {
    EXPECT_EQ(byId(c.id).offsetTop(), c.top) << c.id;
    EXPECT_EQ(byId(c.id).offsetHeight(), c.height) << c.id;
  }
  EXPECT_TRUE(byId("s3").offsetParent().sameAs(trans.body()));
  lesson.document("tq_trans")->setLineHeight(15);
  EXPECT_EQ(byId("after").offsetTop(), 150);
}

TEST_F(StylesAndLayoutTest, ShowingWhatAClassRuleOrAnAncestorHid) {
  EXPECT_EQ(lesson.element("tq_toc", "t1").offsetHeight(), 0);  // inside a folded branch
  lesson.element("tq_toc", "branch1").style().setDisplay("block");
  EXPECT_EQ(lesson.element("tq_toc", "t1").offsetHeight(), 20);

  byId("byClass").style().setDisplay("block");  // the inline style wins over the sheet
  byId("folded").style().setDisplay("block");
  EXPECT_EQ(byId("byClass").offsetHeight(), 20);
  EXPECT_EQ(byId("inside").offsetHeight(), 20);
  EXPECT_EQ(byId("last").offsetTop(), 260);
  byId("after").setClassName("hiddenish");  // no class of the rule's name
  EXPECT_EQ(byId("after").offsetHeight(), 20);
}

TEST_F(StylesAndLayoutTest, ChangingASheetRuleChangesLayout) {
  EXPECT_EQ(trans.styleSheets().length(), 2);
  const Collection rules = trans.styleSheet("tq_style").rules();
  ASSERT_EQ(rules.length(), 2);
  const StyleRule segmentRule(rules.item(0));
  EXPECT_EQ(segmentRule.selectorText(), ".segment");
  EXPECT_EQ(StyleRule(rules.item(1)).selectorText(), ".sync");

  segmentRule.style().setAttribute("display", "none");
  EXPECT_EQ(StyleRule(trans.styleSheet("tq_style").rules().item(0)).style().display(), "none");
  EXPECT_EQ(byId("iText").offsetHeight(), 0);
  EXPECT_EQ(byId("after").offsetTop(), 0);
  byId("s4").style().setDisplay("inline");  // as the single mode shows its segment
  EXPECT_EQ(byId("s4").offsetHeight(), 20);

  segmentRule.style().setAttribute("display", "inline");
  EXPECT_EQ(byId("after").offsetTop(), 200);
  byId("s0").style().setDisplay("None");  // keywords compare without case
  EXPECT_EQ(byId("s0").offsetHeight(), 0);
}

// A change forgets only the layout it can move: what it does move must show
// in the boxes around it, whichever way the change came.
TEST_F(StylesAndLayoutTest, ChangesMoveTheBoxesAroundThemAndNoMore) {
  EXPECT_EQ(byId("s9").offsetTop(), 180);
  EXPECT_EQ(byId("iText").offsetHeight(), 200);
  byId("s2").style().setCssText("color: red");  // no move
  EXPECT_EQ(byId("s9").offsetTop(), 180);
  byId("s2").style().setCssText("display: none");
  EXPECT_EQ(byId("s9").offsetTop(), 160);
  EXPECT_EQ(byId("iText").offsetHeight(), 180);
  EXPECT_EQ(byId("after").offsetTop(), 180);
  byId("s2").setClassName("segment hidden");
  byId("s2").style().setCssText("");
  EXPECT_EQ(byId("s9").offsetTop(), 160);
  byId("s2").setClassName("segment");
  EXPECT_EQ(byId("s9").offsetTop(), 180);

  // The tree and the text.
  Element(byId("s5")).setOuterHTML("<div>a</div><div>b</div>");
  EXPECT_EQ(byId("s9").offsetTop(), 200);
  EXPECT_EQ(byId("iText").offsetHeight(), 220);
  byId("s9").setInnerText("");
  EXPECT_EQ(byId("s9").offsetHeight(), 0);
  EXPECT_EQ(byId("iText").offsetHeight(), 200);
  byId("s9").setInnerText("Nine again");
  EXPECT_EQ(byId("iText").offsetHeight(), 220);
  lesson.node("tq_trans", "s8")->children().back()->setData("   ");
  EXPECT_EQ(byId("s9").offsetTop(), 200);  // s8 keeps its sync span
  lesson.node("tq_trans", "s1")->setLayoutOverride({.height = 45});
  EXPECT_EQ(byId("s9").offsetTop(), 225);
  EXPECT_EQ(byId("iText").offsetHeight(), 245);
}

// An element moved into another document is laid out with that document's
// sheets and line height.
TEST_F(StylesAndLayoutTest, AMovedElementTakesItsNewDocumentsLayout) {
  const auto s1 = lesson.node("tq_trans", "s1");
  lesson.document("tq_toc")->setLineHeight(30);
  EXPECT_EQ(byId("s1").offsetHeight(), 20);
  lesson.document("tq_toc")->body()->appendChild(s1);
  EXPECT_EQ(Element(std::shared_ptr<Object>(s1)).offsetHeight(), 30);
}

TEST_F(StylesAndLayoutTest, OverridesReplaceComputedValues) {
  lesson.node("tq_trans", "s2")->setLayoutOverride({.height = 50});
  EXPECT_EQ(byId("s3").offsetTop(), 90);
  EXPECT_EQ(byId("iText").offsetHeight(), 230);

  EXPECT_EQ(trans.body().clientHeight(), 400);  // the frame's viewport
  lesson.window("tq_trans")->viewportHeight = 120;
  EXPECT_EQ(trans.body().clientHeight(), 120);
  lesson.document("tq_trans")->body()->setLayoutOverride({.clientHeight = 70});
  EXPECT_EQ(trans.body().clientHeight(), 70);

  // Tops count from the offset parent: the body, or a positioned ancestor.
  lesson.node("tq_trans", "iText")->setLayoutOverride({.top = 30});
  EXPECT_EQ(byId("s3").offsetTop(), 120);
  byId("iText").style().setCssText("position: relative");
  EXPECT_TRUE(byId("s3").offsetParent().sameAs(byId("iText")));
  EXPECT_EQ(byId("s3").offsetTop(), 90);
}

TEST_F(StylesAndLayoutTest, ScrollIntoViewAlignsAnEdgeWithinTheScrollRange) {
  lesson.window("tq_trans")->viewportHeight = 100;  // over 240 of content: range 0..140
  const auto document = lesson.document("tq_trans");
  struct Case {
    const char* id;
    bool alignToTop;
    int scrollTop;
  };
  std::size_t calls = 0;
  for (const Case& c : {Case{"s5", true, 100}, Case{"s5", false, 20}, Case{"s0", false, 0},
                        Case{"s9", true, 140}, Case{"last", false, 140}}) {
    trans.body().setScrollTop(50);
    byId(c.id).scrollIntoView(c.alignToTop);
    EXPECT_EQ(trans.body().scrollTop(), c.scrollTop) << c.id << " " << c.alignToTop;
    ASSERT_EQ(document->scrollIntoViewCalls.size(), ++calls);
    EXPECT_EQ(document->scrollIntoViewCalls.back().element, lesson.node("tq_trans", c.id));
    EXPECT_EQ(document->scrollIntoViewCalls.back().alignToTop, c.alignToTop);
  }
  EXPECT_EQ(byId("s5").offsetTop(), 100);  // scrolling moves the band, not the elements
  trans.body().setScrollTop(1000);
  EXPECT_EQ(trans.body().scrollTop(), 140);
  trans.body().setScrollTop(-5);
  EXPECT_EQ(trans.body().scrollTop(), 0);
}

}  // namespace
}  // namespace reVoziz
