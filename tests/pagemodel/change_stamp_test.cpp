// The change stamp of a page-model document: it moves for every change that
// can change what the tick reads of a list or looks up, and for no other;
// reading never moves it, and no two documents share one.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "pagemodel/document_model.h"
#include "pagemodel/layout.h"
#include "support/lesson.h"
#include "transcript/segment_walk.h"

namespace reVoziz {
namespace {

using pagemodel::Node;
using pagemodel::NodePtr;

constexpr std::int32_t kPosition = 15;  // inside s10 of tick_changes

struct StampedLesson : testing::LessonControl {
  explicit StampedLesson(std::string_view name = "tick_changes") : LessonControl(name) {
    control.onTickFailure([](const Error& e) { ADD_FAILURE() << "tick failed: " << e.what(); });
  }
  std::optional<std::uint64_t> stamp(std::string_view id = "iText") {
    return platform.changeStamp(*node("tq_trans", id));
  }
  NodePtr at(std::string_view id) const { return node("tq_trans", id); }
  Element byId(std::string_view id) const { return element("tq_trans", id); }
  NodePtr body() const { return document("tq_trans")->body(); }
  // The segment the tick marked, and the one a walk that keeps nothing finds.
  std::string marked() const { return byId("iText").propertyText("tq_oldSegment"); }
  std::string fresh() const {
    SegmentWalk walk(byId("iText"));
    const auto current = walk.currentAt(kPosition);
    return current ? walk.uniqueIdOf(*current) : "none";
  }
};

NodePtr text(std::string data) { return Node::makeText(std::move(data)); }
NodePtr element(std::string tag, std::string attribute = {}, std::string value = {}) {
  NodePtr e = Node::makeElement(std::move(tag));
  if (!attribute.empty()) e->setAttribute(attribute, std::move(value));
  return e;
}

// Each row: a change between two ticks of a started control, paused inside
// s10, and whether it must move the stamp. Either way the next tick must mark
// what a fresh walk finds, resting exactly when the stamp stayed.
TEST(ChangeStamp, MovesExactlyForWhatTheTickReads) {
  struct Row {
    const char* what;
    bool moves;
    std::function<void(StampedLesson&)> change;
    std::function<void(StampedLesson&)> prepare = nullptr;
  };
  const auto ten = [](StampedLesson& l) { return l.at("s10")->children().front(); };
  const Row rows[] = {
      {"aria-current", false, [](StampedLesson& l) { l.at("s10")->setAttribute("aria-current", "true"); }},
      {"tabindex", false, [](StampedLesson& l) { l.byId("s10").setAttribute("tabindex", "0"); }},
      {"a title on the list", false, [](StampedLesson& l) { l.at("iText")->setAttribute("title", "x"); }},
      {"a data- attribute", false, [](StampedLesson& l) { l.at("s10")->setAttribute("data-seen", "1"); }},
      {"hidden on a segment, which the layout does not honour", false,
       [](StampedLesson& l) { l.at("s10")->setAttribute("hidden", ""); }},
      {"text in a segment edited", false, [&](StampedLesson& l) { ten(l)->setData("Diez"); }},
      {"text added to a segment with text", false, [](StampedLesson& l) { l.at("s10")->appendChild(text(" more")); }},
      {"a comment in a segment", false,
       [](StampedLesson& l) { l.at("s10")->appendChild(Node::makeText("c", pagemodel::NodeKind::Comment)); }},
      {"text between segments", false, [](StampedLesson& l) { l.at("wrap")->children().front()->setData("x"); }},
      {"a button shown outside the list", false,
       [](StampedLesson& l) { l.at("button")->removeAttribute("hidden"); },
       [](StampedLesson& l) {
         l.body()->appendChild(element("button", "id", "button"));
         l.at("button")->setAttribute("hidden", "");
       }},
      {"a node appended to the body", false,
       [](StampedLesson& l) {
         NodePtr span = element("span", "class", "note");
         span->appendChild(text("Saved"));
         l.body()->appendChild(span);
       }},

      {"class on the body", true, [](StampedLesson& l) { l.body()->setAttribute("class", "x"); }},
      {"style on a segment", true, [](StampedLesson& l) { l.byId("s10").style().setDisplay("none"); }},
      {"tq_start", true, [](StampedLesson& l) { l.at("s10")->setAttribute("tq_start", "0:16"); }},
      {"a removed tq_start", true, [](StampedLesson& l) { l.at("s5")->removeAttribute("tq_start"); }},
      {"a tq_ expando", true, [](StampedLesson& l) { l.byId("iText").setProperty("tq_refresh", "1"); }},
      {"an attribute of a STYLE", true, [](StampedLesson& l) { l.at("tq_style")->setAttribute("media", "print"); }},
      {"a segment's last text removed", true, [&](StampedLesson& l) { ten(l)->detach(); }},
      {"a segment's last text blanked", true, [&](StampedLesson& l) { ten(l)->setData(" "); }},
      {"text into an empty segment", true, [](StampedLesson& l) { l.at("s12")->appendChild(text("Twelve")); }},
      {"markup in a segment", true, [](StampedLesson& l) { l.byId("s10").setInnerHTML("<i>x</i>"); }},
      {"an added segment", true,
       [](StampedLesson& l) {
         NodePtr added = element("div", "class", "segment");
         added->setAttribute("tq_start", "0:14");
         added->appendChild(text("Fourteen"));
         l.at("iText")->insertBefore(added, l.at("wrap").get());
       }},
      {"a removed segment", true, [](StampedLesson& l) { l.at("s5")->detach(); },
       [](StampedLesson& l) {  // s5 shown after s0 and starting later, so s0 is marked
         l.at("s5")->removeAttribute("style");
         l.at("s5")->setAttribute("tq_start", "0:16");
       }},
      {"an element with an id outside the list", true,
       [](StampedLesson& l) { l.body()->appendChild(element("span", "id", "x")); }},
      {"a DIV outside the list", true, [](StampedLesson& l) { l.body()->appendChild(element("div")); }},
      {"a sheet rule", true,
       [](StampedLesson& l) {
         l.control.addStyle(l.documentRef("tq_trans").styleSheet("tq_style"), "#s10", "display", "none");
       }},
      {"the line height", true, [](StampedLesson& l) { l.document("tq_trans")->setLineHeight(30); }},
      {"a layout override", true, [](StampedLesson& l) { l.at("s10")->setLayoutOverride({.height = 0}); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    StampedLesson lesson;
    if (row.prepare) row.prepare(lesson);
    lesson.start();
    lesson.player->pause();
    lesson.player->seek(kPosition);
    lesson.clock.advance(1000);  // marks, then leaves the next tick a rest
    ASSERT_EQ(lesson.marked(), lesson.fresh());
    const auto before = lesson.stamp();
    ASSERT_TRUE(before);
    const Element s10 = lesson.byId("s10");
    s10.offsetTop();
    s10.offsetHeight();
    s10.uniqueID();
    lesson.byId("iText").all().tags("DIV").length();
    EXPECT_EQ(lesson.stamp(), before) << "reading moved it";

    row.change(lesson);
    EXPECT_EQ(lesson.stamp() != before, row.moves);
    EXPECT_EQ(lesson.platform.changeStamp(*lesson.document("tq_trans")), lesson.stamp());
    const std::string found = lesson.fresh();  // before the marking restyles anything
    const auto rested = lesson.clock.restedTicks();
    lesson.clock.advance(500);
    EXPECT_EQ(lesson.clock.restedTicks() - rested, row.moves ? 0u : 1u);
    EXPECT_EQ(lesson.marked(), found);
  }
}

TEST(ChangeStamp, DocumentsNeverShareOneAndOtherObjectsHaveNone) {
  StampedLesson lesson("model_frames");
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
