#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "pagemodel/layout.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using testing::Lesson;
using testing::Dispatched;
using testing::LessonControl;
using Dispatch = void (tq::*)(const Window&) const;

// Runs a dispatch method with an event from the element `id` of `frame` ("" id:
// the frame's body).
Dispatched dispatch(LessonControl& l, std::string_view frame, std::string_view id,
                             Dispatch method = &tq::clickDispatch) {
  const pagemodel::NodePtr source = id.empty() ? l.document(frame)->body() : l.node(frame, id);
  return l.dispatch(frame, source, [&](const Window& w) { (l.control.*method)(w); });
}

TEST(ClickDispatch, AlwaysCancelsBubblingAndNeverSetsReturnValue) {
  struct Case {
    const char* frame;
    const char* id;
    std::optional<ErrorCode> failure;
  };
  for (const Case& c : {Case{"tq_toc", "xMain", {}}, Case{"tq_trans", "sync0", {}},
                        Case{"", "tq_print", {}}, Case{"", "opener", {}}, Case{"", "optEn", {}},
                        Case{"tq_trans", "w40", {}}, Case{"tq_trans", "", {}},
                        // A handle whose parent has no tq_start fails after cancelling.
                        Case{"tq_trans", "orphanSync", ErrorCode::MemberNotFound}}) {
    SCOPED_TRACE(std::string(c.frame) + "#" + c.id);
    LessonControl l("nav_lesson");
    l.start();
    const Dispatched d = dispatch(l, c.frame, c.id);
    EXPECT_EQ(d.failure, c.failure);
    EXPECT_TRUE(d.event->cancelBubble());
    EXPECT_TRUE(d.event->returnValue().isEmpty());
  }
}

TEST(ClickDispatch, FrameBodyOrExpanderInsideASegmentNeitherSeeksNorWrites) {
  for (const char* id : {"", "innerExpander"}) {
    LessonControl l("nav_lesson");
    l.start();
    const auto writes = l.document("tq_trans")->writes();
    dispatch(l, "tq_trans", id);
    EXPECT_EQ(l.document("tq_trans")->writes(), writes) << id;
    EXPECT_TRUE(l.player->seeks.empty()) << id;
  }
}

TEST(ClickDispatch, PrintButtonPrintsTheTranscriptFrame) {
  LessonControl l("nav_lesson");
  dispatch(l, "", "tq_print");
  EXPECT_EQ(l.document("tq_trans")->executedCommands, std::vector<std::string>{"print"});
  EXPECT_TRUE(l.document()->executedCommands.empty());
}

TEST(ClickDispatch, OpenerShowsTheMenuAndOptionSwitchesIt) {
  LessonControl l("nav_lesson");
  dispatch(l, "", "opener");
  EXPECT_EQ(l.element("", "tq_selOps1").style().visibility(), "visible");
  dispatch(l, "", "optEn");
  EXPECT_EQ(l.element("", "tq_selOps1").style().visibility(), "hidden");
  EXPECT_EQ(l.document("tq_trans")->address(), "trans_en.html");
  EXPECT_EQ(l.element("", "tq_selLabel").innerText(), "English");
}

TEST(ClickDispatch, AnOpenerWhoseMenuNamesNoOptionsListFailsAndOpensNothing) {
  for (const char* selOps : {static_cast<const char*>(nullptr), "noSuchList"}) {
    SCOPED_TRACE(selOps ? selOps : "no tq_selOps");
    LessonControl l("nav_lesson");
    const pagemodel::NodePtr menu = l.node("", "tq_sel");
    if (selOps) {
      menu->setAttribute("tq_selOps", selOps);
    } else {
      menu->removeAttribute("tq_selOps");
    }
    const Dispatched d = dispatch(l, "", "opener");
    EXPECT_EQ(d.failure, ErrorCode::MemberNotFound);
    EXPECT_TRUE(d.event->cancelBubble());
    EXPECT_EQ(l.element("", "tq_selOps1").style().visibility(), "hidden");
  }
}

TEST(ClickDispatch, SeeksToTheEntryAndPlays) {
  struct Case {
    const char* frame;
    const char* id;
    double seconds;
  };
  for (const Case& c : {Case{"tq_trans", "w40", 40},  // a word inside a segment
                        Case{"tq_toc", "c10", 10},    // a segment itself
                        // A handle seeks to its parent's start, not to its segment's (10).
                        Case{"tq_trans", "syncNested", 12},
                        // "segment other" is no segment; the enclosing one starts at 30.
                        Case{"tq_trans", "wOther", 30}}) {
    SCOPED_TRACE(c.id);
    LessonControl l("nav_lesson");
    l.start();
    l.player->pause();
    dispatch(l, c.frame, c.id);
    EXPECT_EQ(l.player->seeks, std::vector<double>{c.seconds});
    EXPECT_TRUE(l.player->playing());
  }
}

TEST(HoverDispatch, OptionOverThenOutLeavesTheOutStyleApartFromInlineStyle) {
  LessonControl l("nav_lesson");
  EXPECT_TRUE(dispatch(l, "", "optEn", &tq::MouseOverDispatch).event->cancelBubble());
  EXPECT_EQ(l.node("", "optEn")->runtimeCss(), "background-color: #dde");
  EXPECT_TRUE(dispatch(l, "", "optEn", &tq::MouseOutDispatch).event->cancelBubble());
  EXPECT_EQ(l.node("", "optEn")->runtimeCss(), "background-color: transparent");
  EXPECT_EQ(l.attribute("", "optEn", "style"), "padding: 2px");
}

TEST(HoverDispatch, SegmentTakesItsListsHoverStyleBesideTheMarking) {
  LessonControl l("nav_lesson");
  l.start();
  l.clock.advance(500);  // marks s0 with the inline style "color: red"
  dispatch(l, "tq_trans", "w0", &tq::MouseOverDispatch);
  EXPECT_EQ(l.node("tq_trans", "s0")->runtimeCss(), "text-decoration: underline");
  EXPECT_EQ(l.attribute("tq_trans", "s0", "style"), "color: red");
  dispatch(l, "tq_trans", "w0", &tq::MouseOutDispatch);
  EXPECT_EQ(l.node("tq_trans", "s0")->runtimeCss(), "text-decoration: none");
  EXPECT_EQ(l.attribute("tq_trans", "s0", "style"), "color: red");
}

TEST(HoverDispatch, AListWithoutTheHoverAttributeFailsAndLeavesTheSegment) {
  for (const auto& [method, attribute] : {std::pair{&tq::MouseOverDispatch, "tq_mouseOver"},
                                          std::pair{&tq::MouseOutDispatch, "tq_mouseOut"}}) {
    SCOPED_TRACE(attribute);
    LessonControl l("nav_lesson");
    l.node("tq_trans", "iText")->removeAttribute(attribute);
    const Dispatched d = dispatch(l, "tq_trans", "w0", method);
    EXPECT_EQ(d.failure, ErrorCode::MemberNotFound);
    EXPECT_TRUE(d.event->cancelBubble());
    EXPECT_EQ(l.node("tq_trans", "s0")->runtimeCss(), "");
  }
}

TEST(CloseSelects, ClosesTheMenusOfThePlayerPageOnlyAndLeavesTheEvent) {
  struct Case {
    const char* lesson;
    const char* frame;
    std::vector<std::string> lists;
    const char* visibility;
    const char* listFrame = "";
  };
  for (const Case& c : {Case{"nav_lesson", "", {"tq_selOps1"}, "hidden"},
                        Case{"nav_lesson", "tq_trans", {"tq_selOps1"}, "hidden"},
                        Case{"nav_two_menus", "", {"opsA", "opsB"}, "hidden"},
                        Case{"nav_two_menus", "side", {"opsA", "opsB"}, "hidden"},
                        Case{"nav_other_body", "", {"ops"}, "visible"},
                        Case{"nav_other_body", "side", {"ops"}, "visible"},
                        Case{"nav_other_body", "inner", {"innerOps"}, "hidden", "inner"}}) {
    SCOPED_TRACE(std::string(c.lesson) + " from '" + c.frame + "'");
    LessonControl l(c.lesson);
    const auto list = [&](const std::string& id) { return l.element(c.listFrame, id).style(); };
    for (const std::string& id : c.lists) list(id).setVisibility("visible");
    const Dispatched d = dispatch(l, c.frame, "", &tq::closeSelects);
    ASSERT_FALSE(d.failure);
    for (const std::string& id : c.lists) EXPECT_EQ(list(id).visibility(), c.visibility) << id;
    EXPECT_FALSE(d.event->cancelBubble());
    EXPECT_TRUE(d.event->returnValue().isEmpty());
  }
}

// The road of one click: a word of the transcript, the seek, and the next tick.
TEST(ClickRoad, WordClickSeeksPlaysAndTheNextTickMarksAndScrollsBothLists) {
  LessonControl l("nav_lesson");
  // s40 and c40 lie below the visible bands of their lists.
  l.window("tq_trans")->viewportHeight = 60;
  l.window("tq_toc")->viewportHeight = 60;
  l.start();
  l.clock.advance(500);
  const auto uid = [&](std::string_view frame, std::string_view id) {
    return l.document(frame)->uniqueIdOf(*l.node(frame, id));
  };
  ASSERT_EQ(l.attribute("tq_trans", "iText", "tq_oldSegment"), uid("tq_trans", "s0"));

  ASSERT_FALSE(dispatch(l, "tq_trans", "w40").failure);
  EXPECT_EQ(l.player->seeks, std::vector<double>{40});
  EXPECT_TRUE(l.player->playing());

  l.clock.advance(500);
  EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_oldSegment"), uid("tq_trans", "s40"));
  EXPECT_EQ(l.attribute("tq_trans", "s40", "style"), "color: red");
  EXPECT_EQ(l.attribute("tq_trans", "s0", "style"), "color: black");
  EXPECT_EQ(l.attribute("tq_toc", "iText", "tq_oldSegment"), uid("tq_toc", "c40"));
  EXPECT_EQ(l.attribute("tq_toc", "c40", "style"), "font-weight: bold");
  EXPECT_EQ(l.attribute("tq_toc", "c0", "style"), "font-weight: normal");

  for (const char* frame : {"tq_trans", "tq_toc"}) {
    SCOPED_TRACE(frame);
    const auto& calls = l.document(frame)->scrollIntoViewCalls;
    ASSERT_EQ(calls.size(), 1u);
    const pagemodel::Node& segment = *calls[0].element;
    EXPECT_EQ(calls[0].element, l.node(frame, frame == std::string("tq_toc") ? "c40" : "s40"));
    const int bandTop = l.document(frame)->body()->scrollTop;
    EXPECT_GE(pagemodel::layout::offsetTop(segment), bandTop);
    EXPECT_LE(pagemodel::layout::offsetTop(segment) + pagemodel::layout::offsetHeight(segment),
              bandTop + 60);
  }
}

}  // namespace
}  // namespace reVoziz
