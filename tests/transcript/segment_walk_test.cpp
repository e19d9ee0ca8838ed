// What the walk over a list's segments keeps between calls: every answer must
// be the one a fresh walk gives, whatever changed in between.

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/error.h"
#include "support/lesson.h"
#include "transcript/segment_walk.h"

namespace reVoziz {
namespace {

using pagemodel::Node;
using pagemodel::NodePtr;

// The page model's platform with the change stamp under the test's hand:
// `held` pins it, and `none` takes it away, so that every call walks afresh.
class StampedPlatform : public pagemodel::ModelPlatform {
 public:
  using ModelPlatform::ModelPlatform;
  std::optional<std::uint64_t> changeStamp(const Object& node) override {
    if (none) return std::nullopt;
    return held ? held : ModelPlatform::changeStamp(node);
  }
  std::optional<std::uint64_t> held;
  bool none = false;
};

struct WalkPage : testing::Lesson {
  pagemodel::ManualClock clock;
  StampedPlatform platform{clock};
  tq control{platform};

  explicit WalkPage(std::string_view name = "walk_changes") : Lesson(name) {}

  NodePtr at(std::string_view id) const { return node("", id); }
  // The id of the current segment; the list's own id when none counts.
  std::string current(std::string_view list, std::int32_t time) const {
    return control.getCurrentSegment(element("", list), time).id();
  }
  void mark(std::string_view list, std::int32_t time) const {
    control.markCurrentSegment(element("", list), time);
  }
  // The same question asked of a walk that keeps nothing.
  std::string fresh(std::string_view list, std::int32_t time) {
    platform.none = true;
    const std::string id = current(list, time);
    platform.none = false;
    return id;
  }
  NodePtr segment(std::string_view id, std::string_view start, std::string_view text) const {
    NodePtr div = Node::makeElement("div");
    div->setAttribute("class", "segment");
    div->setAttribute("id", std::string(id));
    div->setAttribute("tq_start", std::string(start));
    div->appendChild(Node::makeText(std::string(text)));
    return div;
  }
};

// Each change between two calls at the same position must show at the second.
TEST(SegmentWalk, EveryChangeThatMovesTheAnswerShowsAtTheNextCall) {
  struct Case {
    const char* what;
    std::int32_t time;
    const char* before;
    std::function<void(WalkPage&)> change;
    const char* after;
  };
  const Case cases[] = {
      {"class", 15, "s10", [](WalkPage& p) { p.at("s10")->setAttribute("class", "Segment"); }, "s0"},
      {"inline style", 15, "s10",
       [](WalkPage& p) { p.element("", "s10").style().setDisplay("none"); }, "s0"},
      {"inline style shows", 7, "s0",
       [](WalkPage& p) { p.element("", "s5").style().setCssText("color: green"); }, "s5"},
      {"tq_style rule", 15, "s10",
       [](WalkPage& p) {
         p.control.addStyle(p.documentRef().styleSheet("tq_style"), "#s10", "display", "none");
       },
       "s0"},
      {"tq_style rule for all", 15, "s10",
       [](WalkPage& p) {
         p.control.addStyle(p.documentRef().styleSheet("tq_style"), ".segment", "display", "none");
       },
       "list"},
      {"display of an ancestor", 25, "s20", [](WalkPage& p) { p.at("wrap")->setAttribute("style", "display:none"); },
       "s10"},
      {"text gives height", 13, "s10",
       [](WalkPage& p) { p.at("s12")->appendChild(Node::makeText("Twelve")); }, "s12"},
      {"added segment", 17, "s10",
       [](WalkPage& p) { p.at("list")->insertBefore(p.segment("s15", "0:15", "Fifteen"), p.at("wrap").get()); },
       "s15"},
      {"added by markup", 17, "s10",
       [](WalkPage& p) {
         p.element("", "s10").setInnerHTML("Ten<div class='segment' tq_start='0:15'>Fifteen</div>");
       },
       ""},  // the new segment has no id
      {"removed segment", 15, "s10", [](WalkPage& p) { p.at("s10")->detach(); }, "s0"},
      {"removed by the page", 15, "s10", [](WalkPage& p) { p.element("", "s10").removeNode(true); }, "s0"},
      {"tq_start edit", 15, "s10", [](WalkPage& p) { p.at("s10")->setAttribute("tq_start", "0:16"); }, "s0"},
      {"tq_start as a property", 15, "s10",
       [](WalkPage& p) { p.element("", "s10").setProperty("tq_start", "0:16"); }, "s0"},
      {"tq_start earlier", 8, "s0", [](WalkPage& p) { p.at("s10")->setAttribute("tq_start", "0:08"); }, "s10"},
      {"tq_mode", 7, "s0", [](WalkPage& p) { p.at("list")->setAttribute("tq_mode", "Single"); }, "s5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WalkPage page;
    page.mark("list", c.time);
    EXPECT_EQ(page.current("list", c.time), c.before);
    EXPECT_EQ(page.current("list", 35), "s30");  // reads the whole list
    c.change(page);
    EXPECT_EQ(page.current("list", c.time), c.after);
    EXPECT_EQ(page.current("list", c.time), page.fresh("list", c.time));
  }
}

// Whatever the order of the positions asked, each answer, or failure, is a
// fresh walk's: starts out of order, a start that reads as 0, a missing one.
TEST(SegmentWalk, AnswersAndFailuresMatchAFreshWalkInAnyOrder) {
  WalkPage page;
  auto outcome = [](const std::function<std::string()>& ask) {
    try {
      return ask();
    } catch (const Error& e) {
      return "error " + std::to_string(static_cast<int>(e.code()));
    }
  };
  const std::vector<std::int32_t> times = {45, 0, 25, 12, 31, 3, 22, 10, 40, 9, 20, 35, 5, 30};
  for (const char* list : {"odd", "list"}) {
    for (const std::int32_t time : times) {
      SCOPED_TRACE(std::string(list) + " at " + std::to_string(time));
      EXPECT_EQ(outcome([&] { return page.current(list, time); }),
                outcome([&] { return page.fresh(list, time); }));
    }
  }
  // The missing start fails only the positions whose walk reaches it.
  EXPECT_EQ(outcome([&] { return page.current("odd", 35); }), "error 438");
  EXPECT_EQ(page.current("odd", 25), "o10b");  // "ten" reads as 0
}

// For any position, in any order: the span the walk gives for its answer
// holds that answer without reading further, and a fresh walk agrees
// throughout; just outside it, the answer differs or the walk reads on.
TEST(SegmentWalk, TheSpanOfAnAnswerHoldsItWithoutReadingOn) {
  constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  WalkPage page;
  const auto idOf = [](const SegmentWalk& walk, std::optional<std::size_t> answer) {
    return answer ? walk.segment(*answer).id() : std::string("none");
  };
  const auto outcome = [&](SegmentWalk& walk, std::int32_t time) {
    try {
      return idOf(walk, walk.currentAt(time));
    } catch (const Error& e) {
      return "error " + std::to_string(static_cast<int>(e.code()));
    }
  };
  std::vector<std::int32_t> times = {45, lo, 0, 25, 12, hi, 31, 3,  22, 10,
                                     40, 9,  20, 35, 5,  30, -7, 15, 14, 4};
  std::vector<std::int32_t> ascending = times;
  std::sort(ascending.begin(), ascending.end());
  std::vector<std::vector<std::int32_t>> orders = {times, ascending, {ascending.rbegin(), ascending.rend()}};
  for (const char* list : {"list", "odd", "ties", "single", "hidden"}) {
    for (const std::vector<std::int32_t>& order : orders) {
      SegmentWalk walk(page.element("", list));
      for (const std::int32_t t0 : order) {
        SCOPED_TRACE(std::string(list) + " at " + std::to_string(t0));
        std::optional<std::size_t> answer;
        try {
          answer = walk.currentAt(t0);
        } catch (const Error&) {
          continue;  // a failed read decides nothing
        }
        const SecondsSpan span = walk.spanOf(answer);
        ASSERT_LE(span.from, t0);
        ASSERT_GE(span.to, t0);
        const std::string expected = idOf(walk, answer);

        std::vector<std::int32_t> inside = {span.from, span.to};
        for (std::int32_t t = std::max(span.from, -30); t <= std::min(span.to, 60); ++t) {
          inside.push_back(t);
        }
        for (const std::int32_t t : inside) {
          SegmentWalk kept = walk;
          EXPECT_EQ(outcome(kept, t), expected) << "at " << t;
          EXPECT_EQ(kept.divsRead(), walk.divsRead()) << "read on at " << t;
          SegmentWalk fresh(page.element("", list));
          EXPECT_EQ(outcome(fresh, t), expected) << "fresh at " << t;
        }
        std::vector<std::int32_t> outside;
        if (span.from > lo) outside.push_back(span.from - 1);
        if (span.to < hi) outside.push_back(span.to + 1);
        for (const std::int32_t t : outside) {
          SegmentWalk kept = walk;
          const std::string got = outcome(kept, t);
          EXPECT_TRUE(got != expected || kept.divsRead() > walk.divsRead()) << "at " << t;
        }
      }
    }
  }
}

// The container's switches are read again once they change.
TEST(SegmentWalk, MarkingFollowsTheContainersSwitchesBetweenCalls) {
  WalkPage page;
  const NodePtr list = page.at("list");
  page.mark("list", 15);
  list->setAttribute("tq_insync", "0");
  page.mark("list", 25);
  EXPECT_EQ(page.attribute("", "s20", "style"), "");
  list->setAttribute("tq_insync", "1");
  page.mark("list", 25);
  EXPECT_EQ(page.attribute("", "s20", "style"), "color: red");
  list->setAttribute("tq_current", "color: green");
  list->setAttribute("tq_refresh", "1");
  page.mark("list", 25);
  EXPECT_EQ(page.attribute("", "s20", "style"), "color: green");
  EXPECT_EQ(page.attribute("", "list", "tq_refresh"), "0");
  list->setAttribute("tq_oldSegment", "");  // the page forgets the marking
  page.mark("list", 26);
  EXPECT_EQ(page.attribute("", "s20", "style"), "color: green");
  EXPECT_NE(page.attribute("", "list", "tq_oldSegment"), "");
}

TEST(SegmentWalk, IsReusedWhileTheStampHolds) {
  WalkPage page;
  EXPECT_EQ(page.current("list", 15), "s10");
  page.platform.held = 1;
  EXPECT_EQ(page.current("list", 15), "s10");
  page.at("s10")->setAttribute("tq_start", "0:16");  // unseen: the stamp is held
  EXPECT_EQ(page.current("list", 15), "s10");
  page.platform.held = 2;
  EXPECT_EQ(page.current("list", 15), "s0");
}

// The marking's own restyling keeps the walk only when it cannot have changed
// what the walk read; a look that hides a segment makes it walk afresh.
TEST(SegmentWalk, IsDroppedWhenTheMarkingHidesASegment) {
  {
    WalkPage page;
    page.at("list")->setAttribute("tq_current", "display: none");
    page.mark("list", 15);
    EXPECT_EQ(page.at("s10")->attributeOr("style"), "display: none");
    EXPECT_EQ(page.current("list", 15), "s0");
  }
  {
    WalkPage page;
    page.at("list")->setAttribute("tq_nonCurrent", "display: none");
    page.mark("list", 3);
    page.mark("list", 15);
    EXPECT_EQ(page.current("list", 3), "s10");  // s0 is hidden now
  }
  {
    WalkPage page;  // a segment shown only by its own style loses it to a look that only paints
    page.control.addStyle(page.documentRef().styleSheet("tq_style"), "#s10", "display", "none");
    page.at("s10")->setAttribute("style", "display: block");
    page.mark("list", 15);
    EXPECT_EQ(page.at("s10")->attributeOr("style"), "color: red");
    EXPECT_EQ(page.current("list", 15), "s0");
  }
  {
    WalkPage page;  // an ordinary look keeps the walk, and the answers hold
    page.mark("list", 3);
    page.mark("list", 15);
    page.mark("list", 25);
    EXPECT_EQ(page.current("list", 3), "s0");
    EXPECT_EQ(page.current("list", 25), "s20");
    EXPECT_EQ(page.attribute("", "s20", "style"), "color: red");
    EXPECT_EQ(page.attribute("", "s10", "style"), "color: black");
  }
}

}  // namespace
}  // namespace reVoziz
