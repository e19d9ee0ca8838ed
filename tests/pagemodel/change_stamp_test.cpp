// The change stamp of a page-model document: every kind of change moves it,
// reading never does, and no two documents share one.

#include <gtest/gtest.h>

#include <functional>

#include "pagemodel/document_model.h"
#include "pagemodel/layout.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using pagemodel::Node;

struct StampedLesson : testing::Lesson {
  pagemodel::ManualClock clock;
  pagemodel::ModelPlatform platform{clock};
  StampedLesson() : Lesson("model_frames") {}
  std::optional<std::uint64_t> stamp(std::string_view id = "iText") {
    return platform.changeStamp(*node("tq_trans", id));
  }
  Element byId(std::string_view id) const { return element("tq_trans", id); }
};

TEST(ChangeStamp, EveryKindOfChangeMovesItAndReadingDoesNot) {
  const std::pair<const char*, std::function<void(StampedLesson&)>> changes[] = {
      {"an attribute", [](StampedLesson& l) { l.node("tq_trans", "s3")->setAttribute("tq_start", "1"); }},
      {"a removed attribute", [](StampedLesson& l) { l.node("tq_trans", "s3")->removeAttribute("tq_start"); }},
      {"an expando", [](StampedLesson& l) { l.byId("iText").setProperty("tq_oldSegment", "x"); }},
      {"a class", [](StampedLesson& l) { l.byId("s3").setClassName("other"); }},
      {"an inline style", [](StampedLesson& l) { l.byId("s3").style().setDisplay("none"); }},
      {"a sheet rule",
       [](StampedLesson& l) {
         StyleRule(l.documentRef("tq_trans").styleSheet("tq_style").rules().item(0)).style().setDisplay("none");
       }},
      {"a text", [](StampedLesson& l) { l.node("tq_trans", "s3")->children().back()->setData("x"); }},
      {"an added element", [](StampedLesson& l) { l.node("tq_trans", "s3")->appendChild(Node::makeElement("b")); }},
      {"a removed element", [](StampedLesson& l) { l.node("tq_trans", "s3")->detach(); }},
      {"markup", [](StampedLesson& l) { l.byId("after").setInnerHTML("<i>x</i>"); }},
      {"the line height", [](StampedLesson& l) { l.document("tq_trans")->setLineHeight(30); }},
      {"a layout override", [](StampedLesson& l) { l.node("tq_trans", "s3")->setLayoutOverride({.height = 5}); }},
  };
  for (const auto& [what, change] : changes) {
    SCOPED_TRACE(what);
    StampedLesson lesson;
    const auto before = lesson.stamp();
    ASSERT_TRUE(before);
    const Element s3 = lesson.byId("s3");
    s3.offsetTop();
    s3.offsetHeight();
    s3.uniqueID();
    lesson.byId("iText").all().tags("DIV").length();
    EXPECT_EQ(lesson.stamp(), before) << "reading moved it";
    change(lesson);
    EXPECT_NE(lesson.stamp(), before);
    EXPECT_EQ(lesson.stamp("after"), lesson.stamp());  // one stamp for the document
  }
}

TEST(ChangeStamp, DocumentsNeverShareOneAndOtherObjectsHaveNone) {
  StampedLesson lesson;
  const auto trans = lesson.stamp();
  const auto toc = lesson.platform.changeStamp(*lesson.document("tq_toc"));
  ASSERT_TRUE(trans && toc);
  EXPECT_NE(*trans, *toc);
  lesson.node("tq_toc", "iText")->setAttribute("tq_refresh", "1");
  EXPECT_EQ(lesson.stamp(), trans);  // a change elsewhere leaves it
  EXPECT_NE(lesson.platform.changeStamp(*lesson.document("tq_toc")), toc);
  EXPECT_FALSE(lesson.platform.changeStamp(*lesson.window("tq_trans")));
}

}  // namespace
}  // namespace reVoziz
