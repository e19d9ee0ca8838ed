#include "core/page_lookups.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

class PageLookups : public ::testing::Test {
 protected:
  testing::Lesson page{"spine_lookups"};
  Element el(std::string_view id) const { return page.element("", id); }

  // The id of the element findClassAncestor finds from `start`, or "-" when none.
  std::string ancestorId(std::string_view start, std::string_view cls) const {
    Element found;
    return findClassAncestor(el(start), cls, found) ? found.id() : "-";
  }
};

TEST_F(PageLookups, GetValGivesTheAttributeOrTheEmptyText) {
  EXPECT_EQ(getVal(el("seg"), "tq_start"), Value("00:01:15"));
  EXPECT_EQ(getVal(el("seg"), "TQ_START"), Value("00:01:15"));  // HTML names ignore case
  EXPECT_EQ(getVal(el("seg"), "tq_empty"), Value(""));
  const Value absent = getVal(el("seg"), "tq_mode");
  EXPECT_TRUE(absent.isString());
  EXPECT_EQ(absent, Value(""));
}

TEST_F(PageLookups, GetValFailsOnWhatIsNoElement) {
  try {
    getVal(Element(), "tq_mode");
    ADD_FAILURE() << "an unset element was read";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::ObjectRequired);
  }
  // A window has no getAttribute.
  EXPECT_THROW(getVal(Element(page.windowRef().handle()), "tq_mode"), Error);
}

TEST_F(PageLookups, FindClassAncestorTestsTheElementItselfFirst) {
  EXPECT_EQ(ancestorId("seg", "segment"), "seg");
  EXPECT_EQ(ancestorId("word", "segment"), "seg");
  EXPECT_EQ(ancestorId("inTag", "other"), "between");
  EXPECT_EQ(ancestorId("inTag", "TQ_SyncTAG"), "tagBox");
}

TEST_F(PageLookups, FindClassAncestorComparesTheWholeClassWithCase) {
  EXPECT_EQ(ancestorId("inCapital", "segment"), "-");  // "Segment" is not "segment"
  EXPECT_EQ(ancestorId("inCapital", "Segment"), "capital");
  EXPECT_EQ(ancestorId("inListed", "segment"), "-");  // "segment extra" is not "segment"
  EXPECT_EQ(ancestorId("inTag", "tq_synctag"), "-");
}

TEST_F(PageLookups, FindClassAncestorNeverMatchesTheBody) {
  // The body carries class "segment" in this page.
  EXPECT_EQ(ancestorId("page", "segment"), "-");
  EXPECT_EQ(ancestorId("inPlain", "segment"), "-");
}

TEST_F(PageLookups, FindClassAncestorStopsAtTheRootElement) {
  // A click below short content lands on the html element, outside the body.
  Element found = el("ownTag");
  EXPECT_FALSE(findClassAncestor(page.documentRef().documentElement(), "segment", found));
  EXPECT_TRUE(found.sameAs(el("ownTag")));
}

TEST_F(PageLookups, FindClassAncestorLeavesFoundAloneWhenNothingMatches) {
  Element found = el("ownTag");
  EXPECT_FALSE(findClassAncestor(el("inPlain"), "segment", found));
  EXPECT_TRUE(found.sameAs(el("ownTag")));
  // An element out of the tree ends the walk at its missing parent.
  EXPECT_FALSE(findClassAncestor(Element(pagemodel::Node::makeElement("span")), "x", found));
  EXPECT_TRUE(found.sameAs(el("ownTag")));
  EXPECT_THROW(findClassAncestor(Element(), "segment", found), Error);
  EXPECT_TRUE(found.sameAs(el("ownTag")));
}

TEST_F(PageLookups, ClassContainsTestsProperAncestorsLowerCased) {
  EXPECT_TRUE(classContains("tq_syncTag", el("inTag")));  // ancestor "TQ_SyncTAG"
  EXPECT_FALSE(classContains("tq_syncTag", el("ownTag")));  // only the element itself
  EXPECT_TRUE(classContains("índice", el("inAccent")));   // ancestor "ÍNDICE"
  // Full-width, Greek Extended and Armenian capitals lower-case too.
  EXPECT_TRUE(classContains("ｔｑ_ｓｙｎｃｔａｇ ἀ ա", el("inWide")));
  EXPECT_FALSE(classContains("extra", el("inListed")));    // part of "segment extra"
  EXPECT_FALSE(classContains("segment extr", el("inListed")));
  // Unlike findClassAncestor, the body counts.
  EXPECT_TRUE(classContains("SEGMENT", el("inPlain")));
}

TEST_F(PageLookups, ClassContainsEmptyNameMatchesAnAncestorWithoutClass) {
  EXPECT_TRUE(classContains("", el("word")));  // its paragraph has no class
  EXPECT_TRUE(classContains("", el("page")));  // nor has the html element
  const Element root = page.documentRef().documentElement();
  EXPECT_FALSE(classContains("", root));
  EXPECT_THROW(classContains("", Element()), Error);
}

}  // namespace
}  // namespace reVoziz
