// Finding and marking the current segment, called directly as the page's
// script may do; the tick's use of it is tested with the control.

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

#include "core/error.h"
#include "support/lesson.h"
#include "transcript/transcript.h"

namespace reVoziz {
namespace {

using testing::failureOf;

using pagemodel::NodePtr;

struct SegmentPage : testing::LessonControl {
  using LessonControl::LessonControl;

  NodePtr at(std::string_view id) const { return node("", id); }
  std::string current(std::string_view list, std::int32_t time) const {
    return control.getCurrentSegment(element("", list), time).id();
  }
  void mark(std::string_view list, std::int32_t time) const {
    control.markCurrentSegment(element("", list), time);
  }
  std::string style(std::string_view id) const { return at(id)->attributeOr("style"); }
  std::string attr(std::string_view id, std::string_view name) const {
    return at(id)->attributeOr(name);
  }
  // The id of the segment the list marked last; "" before any marking.
  std::string marked(std::string_view list) const {
    const std::string uid = attr(list, "tq_oldSegment");
    if (uid.empty()) return "";
    const NodePtr segment = document()->elementByUniqueId(uid);
    return segment ? segment->attributeOr("id") : "?";
  }
  std::size_t scrolls() const { return document()->scrollIntoViewCalls.size(); }
  std::uint64_t writes() const { return document()->writes(); }
};

TEST(GetCurrentSegment, TakesTheLastSegmentStartingAtOrBeforeThePosition) {
  const SegmentPage page("spine_segments");
  const std::pair<std::int32_t, const char*> basic[] = {
      {0, "b0"}, {9, "b0"}, {10, "b10"}, {19, "b10"}, {25, "b20"}};
  for (const auto& [time, id] : basic) EXPECT_EQ(page.current("basic", time), id) << time;
  // Starts 5, 10, 10 (nested deeper), 30.
  const std::pair<std::int32_t, const char*> equal[] = {
      {3, "e5"}, {10, "e10b"}, {12, "e10b"}, {100, "e30"}};
  for (const auto& [time, id] : equal) EXPECT_EQ(page.current("equal", time), id) << time;
}

TEST(GetCurrentSegment, SkipsHiddenSegmentsOutsideSingleMode) {
  const SegmentPage page("spine_segments");
  EXPECT_EQ(page.current("hidden", 17), "h0");  // "Segment" and "segment extra" are no segments
  EXPECT_EQ(page.current("hidden", 25), "h20");  // the collapsed one is not read
  page.at("hidden")->setAttribute("tq_mode", "Single");
  EXPECT_EQ(page.current("hidden", 17), "h10");
  // Now the collapsed segment counts, and it has no start.
  EXPECT_EQ(failureOf([&] { page.current("hidden", 25); }), ErrorCode::MemberNotFound);
}

TEST(MarkCurrentSegment, MarksNothingWhenNoSegmentCounts) {
  const SegmentPage page("spine_segments");
  EXPECT_EQ(page.current("allHidden", 5), "allHidden");  // the container itself
  const auto writes = page.writes();
  page.mark("allHidden", 5);
  EXPECT_EQ(page.writes(), writes);
  EXPECT_EQ(page.attr("allHidden", "tq_refresh"), "1");
  EXPECT_EQ(page.attr("allHidden", "tq_oldSegment"), "");
}

// With the stamp of the list's document, a marking answers the positions at
// which it would again read nothing new and write nothing, under the stamp
// its own writes left; none without a stamp, since then nothing read is kept.
TEST(MarkCurrentSegment, WithAStampAnswersWhereItWouldDoTheSameAgain) {
  using Span = std::optional<SecondsSpan>;
  constexpr std::int32_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t hi = std::numeric_limits<std::int32_t>::max();
  SegmentPage page("spine_segments");
  ControlState state;
  const Transcript transcript(state, page.platform);
  // The span answered; it must come with the stamp the document has now.
  const auto mark = [&](std::string_view list, std::int32_t time) -> Span {
    const Element iText = page.element("", list);
    const auto rest = transcript.markCurrentSegment(iText, time, page.platform.changeStamp(*iText.handle()));
    if (!rest) return std::nullopt;
    EXPECT_EQ(rest->stamp, page.platform.changeStamp(*iText.handle())) << list << " at " << time;
    return rest->seconds;
  };
  const struct {
    const char* list;
    std::int32_t time;
    Span span;
    const char* marked;
  } steps[] = {
      {"basic", 15, Span({10, 19}), "b10"},
      {"basic", 15, Span({10, 19}), "b10"},
      {"basic", 3, Span({lo, 9}), "b0"},
      {"basic", 25, Span({20, hi}), "b20"},  // the whole list was read
      {"basic", 25, Span({20, hi}), "b20"},
      {"allHidden", 5, Span(SecondsSpan::everySecond()), ""},  // nothing to mark, whatever the position
  };
  for (const auto& step : steps) {
    EXPECT_EQ(mark(step.list, step.time), step.span) << step.list << " at " << step.time;
    EXPECT_EQ(page.marked(step.list), step.marked) << step.list << " at " << step.time;
  }

  const Element basic = page.element("", "basic");
  EXPECT_EQ(transcript.markCurrentSegment(basic, 25, std::nullopt), std::nullopt);
  page.at("basic")->setAttribute("tq_refresh", "1");
  EXPECT_EQ(mark("basic", 25), Span({20, hi}));  // marks b20 again
  EXPECT_EQ(page.attr("basic", "tq_refresh"), "0");
  page.at("basic")->setAttribute("tq_insync", "0");
  EXPECT_EQ(mark("basic", 5), Span(SecondsSpan::everySecond()));
  EXPECT_EQ(page.marked("basic"), "b20");
}

TEST(MarkCurrentSegment, GivesTheNewSegmentTheCurrentLookAndTheOldOneTheOther) {
  const SegmentPage page("spine_segments");
  page.at("basic")->setAttribute("tq_refresh", "1");
  page.mark("basic", 5);
  EXPECT_EQ(page.style("b0"), "color: red");
  EXPECT_EQ(page.marked("basic"), "b0");
  EXPECT_EQ(page.attr("basic", "tq_refresh"), "0");
  page.mark("basic", 15);
  EXPECT_EQ(page.style("b0"), "color: gray");
  EXPECT_EQ(page.style("b10"), "color: red");
  EXPECT_EQ(page.style("b20"), "");
  EXPECT_EQ(page.marked("basic"), "b10");
  EXPECT_EQ(page.scrolls(), 0u);  // all in view
}

TEST(MarkCurrentSegment, RefreshReappliesTheLookOfAnUnchangedSegment) {
  const SegmentPage page("spine_segments");
  page.mark("basic", 5);
  page.at("basic")->setAttribute("tq_current", "color: green");
  page.mark("basic", 6);
  EXPECT_EQ(page.style("b0"), "color: red");  // no change, no refresh: left alone
  page.at("basic")->setAttribute("tq_refresh", "1");
  page.mark("basic", 6);
  EXPECT_EQ(page.style("b0"), "color: green");  // the other look first, then the current one
  EXPECT_EQ(page.attr("basic", "tq_refresh"), "0");
}

TEST(MarkCurrentSegment, OutOfSyncDoesNothingEvenWhenRefreshIsAsked) {
  const SegmentPage page("spine_segments");
  const NodePtr list = page.at("basic");
  list->setAttribute("tq_insync", "0");
  list->setAttribute("tq_refresh", "1");
  list->removeAttribute("tq_oldSegment");  // not even read
  const auto writes = page.writes();
  page.mark("basic", 15);
  EXPECT_EQ(page.writes(), writes);
  EXPECT_EQ(page.attr("basic", "tq_refresh"), "1");
  EXPECT_EQ(page.style("b10"), "");
}

TEST(MarkCurrentSegment, SingleModeShowsOnlyTheCurrentSegment) {
  const SegmentPage page("spine_single");
  const NodePtr list = page.at("iText");
  list->removeAttribute("tq_current");  // not needed in single mode
  page.mark("iText", 5);
  EXPECT_EQ(page.style("s0"), "font-size: 20px; display: inline");
  EXPECT_GT(page.control.getCurrentSegment(page.element("", "iText"), 5).offsetHeight(), 0);
  page.mark("iText", 15);
  EXPECT_EQ(page.style("s0"), "color: gray");  // display cleared: the sheet hides it again
  EXPECT_EQ(page.element("", "s0").offsetHeight(), 0);
  EXPECT_EQ(page.style("s10"), "font-size: 20px; display: inline");
  EXPECT_EQ(page.marked("iText"), "s10");

  // Back to scroll mode with a refresh: the whole inline style is the current look.
  list->setAttribute("tq_current", "color: red");
  list->setAttribute("tq_mode", "scroll");
  list->setAttribute("tq_refresh", "1");
  page.mark("iText", 15);
  EXPECT_EQ(page.style("s10"), "color: red");
}

TEST(MarkCurrentSegment, ScrollsTheSegmentIntoTheVisibleBand) {
  struct Case {
    int scrollTop;
    std::int32_t time;
    std::optional<bool> alignToTop;  // none: the list stays put
    int scrollTopAfter;
  };
  // Segment k spans 20k to 20k + 20; the band is 60 px high.
  const Case cases[] = {
      {0, 25, std::nullopt, 0},  // ends exactly at the bottom edge
      {0, 55, false, 60},        // below
      {50, 55, false, 60},       // partly visible at the bottom
      {100, 15, true, 20},       // above
      {50, 25, true, 40},        // partly visible at the top
  };
  for (const Case& c : cases) {
    const SegmentPage page("spine_scroll");
    const NodePtr band = page.at("band");
    band->setLayoutOverride({.clientHeight = 60});
    band->scrollTop = c.scrollTop;
    page.mark("iText", c.time);
    const auto& calls = page.document()->scrollIntoViewCalls;
    SCOPED_TRACE(c.time);
    ASSERT_EQ(calls.size(), c.alignToTop ? 1u : 0u);
    if (c.alignToTop) {
      EXPECT_EQ(calls[0].alignToTop, *c.alignToTop);
    }
    EXPECT_EQ(band->scrollTop, c.scrollTopAfter);
  }
}

// Looks that only paint leave the segment where it was, so where it sits may
// be read before the looks are written; one that hides the old segment above
// moves the new one up, and the scroll must follow where it ends up.
TEST(MarkCurrentSegment, ScrollsByWhereTheSegmentSitsAfterTheNewLooks) {
  struct Case {
    const char* nonCurrent;
    bool scrolls;
  };
  const Case cases[] = {
      {"", true},                   // s3 at 60 to 80, below the 60 px band
      {"color: blue", true},        // only paints
      {"font-weight: bold", true},  // a height the model does not change
      {"display: none", false},     // s2 hidden: s3 moves up to 40 to 60
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.nonCurrent);
    const SegmentPage page("spine_scroll");
    const NodePtr band = page.at("band");
    band->setLayoutOverride({.clientHeight = 60});
    page.at("iText")->setAttribute("tq_nonCurrent", c.nonCurrent);
    page.mark("iText", 25);  // s2, 40 to 60: fits
    ASSERT_EQ(band->scrollTop, 0);
    page.mark("iText", 35);
    EXPECT_EQ(page.marked("iText"), "s3");
    EXPECT_EQ(page.scrolls(), c.scrolls ? 1u : 0u);
    EXPECT_EQ(band->scrollTop, c.scrolls ? 20 : 0);
  }
}

TEST(MarkCurrentSegment, AnUnchangedSegmentWritesNothingAndIsNotScrolledBack) {
  const SegmentPage page("spine_scroll");
  const NodePtr band = page.at("band");
  band->setLayoutOverride({.clientHeight = 60});
  page.mark("iText", 25);
  band->scrollTop = 100;  // the reader scrolls away
  const auto writes = page.writes();
  page.mark("iText", 27);
  EXPECT_EQ(page.writes(), writes);
  EXPECT_EQ(page.scrolls(), 0u);
  EXPECT_EQ(band->scrollTop, 100);
}

TEST(MarkCurrentSegment, FailsWithoutTheLastMarkedSegmentEvenOnRefresh) {
  const SegmentPage page("spine_segments");
  const NodePtr list = page.at("basic");
  list->removeAttribute("tq_oldSegment");
  list->setAttribute("tq_refresh", "1");
  EXPECT_EQ(failureOf([&] { page.mark("basic", 15); }), ErrorCode::MemberNotFound);
  EXPECT_EQ(page.attr("basic", "tq_refresh"), "1");
  EXPECT_EQ(page.style("b10"), "");
}

TEST(MarkCurrentSegment, FailsWithoutTheCurrentLookOutsideSingleMode) {
  const SegmentPage page("spine_segments");
  page.mark("basic", 5);
  page.at("basic")->removeAttribute("tq_current");
  EXPECT_EQ(failureOf([&] { page.mark("basic", 15); }), ErrorCode::MemberNotFound);
  // What came before the failing step stays.
  EXPECT_EQ(page.style("b0"), "color: gray");
  EXPECT_EQ(page.style("b10"), "");
  EXPECT_EQ(page.marked("basic"), "b0");
}

TEST(MarkCurrentSegment, FailsWithoutTheNonCurrentLookOnceASegmentWasMarked) {
  const SegmentPage page("spine_segments");
  page.at("basic")->removeAttribute("tq_nonCurrent");
  page.mark("basic", 5);  // nothing was marked before, so the look is not needed yet
  EXPECT_EQ(page.marked("basic"), "b0");
  EXPECT_EQ(failureOf([&] { page.mark("basic", 15); }), ErrorCode::MemberNotFound);
  EXPECT_EQ(page.style("b0"), "color: red");
  EXPECT_EQ(page.style("b10"), "");
  EXPECT_EQ(page.marked("basic"), "b0");
}

TEST(MarkCurrentSegment, ScrollSumsBeyond32BitsFailWithOverflowBeforeScrolling) {
  constexpr int kMax = std::numeric_limits<std::int32_t>::max();
  struct Case {
    const char* label;
    std::optional<int> segmentTop;
    int scrollTop;
    int clientHeight;
  };
  for (const Case& c : {Case{"segment bottom", kMax - 5, 0, 60},
                        Case{"band bottom", std::nullopt, 10, kMax}}) {
    SCOPED_TRACE(c.label);
    const SegmentPage page("spine_scroll");
    const NodePtr band = page.at("band");
    band->setLayoutOverride({.clientHeight = c.clientHeight});
    band->scrollTop = c.scrollTop;
    page.at("s1")->setLayoutOverride({.top = c.segmentTop});
    EXPECT_EQ(failureOf([&] { page.mark("iText", 15); }), ErrorCode::Overflow);
    EXPECT_EQ(page.scrolls(), 0u);
    EXPECT_EQ(page.style("s1"), "color: red");  // styled before the scroll rule
    EXPECT_EQ(page.marked("iText"), "");         // the last step never came
  }
}

TEST(MarkCurrentSegment, AStaleLastMarkedSegmentFailsEveryMarking) {
  const SegmentPage page("spine_segments");
  page.mark("basic", 5);
  page.at("b0")->detach();
  for (const std::int32_t time : {15, 25}) {
    EXPECT_EQ(failureOf([&] { page.mark("basic", time); }), ErrorCode::ObjectRequired);
  }
  EXPECT_EQ(page.style("b10"), "");
  EXPECT_EQ(page.style("b20"), "");
}

}  // namespace
}  // namespace reVoziz
