#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "pagemodel/layout.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

using testing::Lesson;
using testing::LessonControl;
using ModeSwitch = void (tq::*)(const Window&) const;
constexpr ModeSwitch kSingle = &tq::singleSegments;
constexpr ModeSwitch kScroll = &tq::scrollSegments;

// The css text of each rule of a transcript sheet, in order.
std::vector<std::string> rulesOf(const Lesson& l, std::string_view sheetId) {
  const Collection rules = l.documentRef("tq_trans").styleSheet(sheetId).rules();
  std::vector<std::string> css;
  for (std::int32_t i = 0; i < rules.length(); ++i) {
    css.push_back(StyleRule(rules.item(i)).style().cssText());
  }
  return css;
}

// Clicks a mode button of the top page.
testing::Dispatched clickMode(LessonControl& l, ModeSwitch method) {
  return l.dispatch("", l.node("", "tq_single"), [&](const Window& w) { (l.control.*method)(w); });
}

TEST(ModeButtons, ShowTheSelectedModeWithThePagesOrTheFixedImages) {
  struct Case {
    const char* lesson;
    ModeSwitch method;
    const char* scrollSrc;
    const char* singleSrc;
  };
  for (const Case& c : {Case{"nav_lesson", kSingle, "scroll-dim.gif", "single-lit.gif"},
                        Case{"nav_lesson", kScroll, "scroll-lit.gif", "single-dim.gif"},
                        // Without tq_src_off on tq_scroll, tq_single's images are ignored.
                        Case{"nav_fixed_buttons", kSingle, "scroll.gif", "single_on.gif"},
                        Case{"nav_fixed_buttons", kScroll, "scroll_on.gif", "single.gif"}}) {
    SCOPED_TRACE(std::string(c.lesson) + (c.method == kSingle ? " single" : " scroll"));
    LessonControl l(c.lesson);
    const testing::Dispatched clicked = clickMode(l, c.method);
    ASSERT_FALSE(clicked.failure);
    EXPECT_TRUE(clicked.event->cancelBubble());
    EXPECT_TRUE(clicked.event->returnValue().isEmpty());
    EXPECT_EQ(l.attribute("", "tq_scroll", "src"), c.scrollSrc);
    EXPECT_EQ(l.attribute("", "tq_single", "src"), c.singleSrc);
  }
}

TEST(ModeButtons, TheInactiveButtonChangesFirst) {
  LessonControl single("nav_lesson");
  single.node("", "tq_single")->removeAttribute("tq_src_on");
  EXPECT_EQ(clickMode(single, kSingle).failure, ErrorCode::MemberNotFound);
  EXPECT_EQ(single.attribute("", "tq_scroll", "src"), "scroll-dim.gif");
  EXPECT_EQ(single.attribute("", "tq_single", "src"), "single-start.gif");
  EXPECT_EQ(single.attribute("tq_trans", "iText", "tq_mode"), "scroll");

  LessonControl scroll("nav_lesson");
  scroll.node("", "tq_scroll")->removeAttribute("tq_src_on");
  EXPECT_EQ(clickMode(scroll, kScroll).failure, ErrorCode::MemberNotFound);
  EXPECT_EQ(scroll.attribute("", "tq_single", "src"), "single-dim.gif");
  EXPECT_EQ(scroll.attribute("", "tq_scroll", "src"), "scroll-start.gif");
}

TEST(DisplayModes, SetModeSheetRulesAndRefresh) {
  for (const bool single : {true, false}) {
    SCOPED_TRACE(single ? "single" : "scroll");
    LessonControl l("nav_lesson");
    // Start from the other mode, so that every value below has to change.
    clickMode(l, single ? kScroll : kSingle);
    l.node("tq_trans", "iText")->setAttribute("tq_refresh", "0");
    const auto probe = rulesOf(l, "probe");
    ASSERT_FALSE(clickMode(l, single ? kSingle : kScroll).failure);
    EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_mode"), single ? "single" : "scroll");
    const std::string rule = single ? "display: none" : "display: inline";
    EXPECT_EQ(rulesOf(l, "tq_style"), (std::vector<std::string>{rule, rule}));
    EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_refresh"), "1");
    EXPECT_EQ(rulesOf(l, "probe"), probe);
  }
}

TEST(DisplayModes, SheetWithoutSegmentRulesStillSetsModeAndRefresh) {
  LessonControl l("nav_bare_sheet");
  ASSERT_FALSE(clickMode(l, kSingle).failure);
  EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_mode"), "single");
  EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_refresh"), "1");
  EXPECT_EQ(rulesOf(l, "tq_style"), std::vector<std::string>{"color: gray"});
}

TEST(DisplayModes, WithoutCurrentEventFailAndChangeNothing) {
  for (const ModeSwitch method : {kSingle, kScroll}) {
    LessonControl l("nav_lesson");
    const auto topWrites = l.document()->writes();
    const auto transcriptWrites = l.document("tq_trans")->writes();
    try {
      (l.control.*method)(l.windowRef());
      ADD_FAILURE() << "a mode switch without an event succeeded";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::ObjectRequired);
    }
    EXPECT_EQ(l.document()->writes(), topWrites);
    EXPECT_EQ(l.document("tq_trans")->writes(), transcriptWrites);
  }
}

TEST(DisplayModes, MissingSheetOrFrameFailsKeepingEarlierStepsWithoutRefresh) {
  // No tq_style sheet: the buttons and tq_mode already changed, tq_refresh did not.
  for (const ModeSwitch method : {kSingle, kScroll}) {
    LessonControl l("nav_missing_parts");
    const testing::Dispatched clicked = clickMode(l, method);
    EXPECT_EQ(clicked.failure, ErrorCode::MemberNotFound);
    EXPECT_TRUE(clicked.event->cancelBubble());
    EXPECT_EQ(l.attribute("", "tq_scroll", "src"), method == kSingle ? "scroll.gif" : "scroll_on.gif");
    EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_mode"), method == kSingle ? "single" : "scroll");
    EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_refresh"), "0");
    EXPECT_EQ(rulesOf(l, "tq_styles"), std::vector<std::string>{"display: inline"});
  }
  // No tq_trans frame: only the bubbling was cancelled.
  LessonControl l("nav_no_frames");
  const testing::Dispatched clicked = clickMode(l, kSingle);
  EXPECT_EQ(clicked.failure, ErrorCode::MemberNotFound);
  EXPECT_TRUE(clicked.event->cancelBubble());
  EXPECT_EQ(l.attribute("", "tq_scroll", "src"), "scroll-start.gif");
  EXPECT_EQ(l.attribute("", "tq_single", "src"), "single-start.gif");
}

TEST(DisplayModes, SingleTwiceLeavesTheStateOfOnce) {
  const auto state = [](const Lesson& l) {
    std::string s = l.attribute("", "tq_scroll", "src") + "|" +
                    l.attribute("", "tq_single", "src") + "|" +
                    l.element("tq_trans", "iText").outerHTML();
    for (const std::string& rule : rulesOf(l, "tq_style")) s += "|" + rule;
    return s;
  };
  LessonControl once("nav_lesson");
  LessonControl twice("nav_lesson");
  clickMode(once, kSingle);
  clickMode(twice, kSingle);
  clickMode(twice, kSingle);
  EXPECT_EQ(state(twice), state(once));
}

TEST(DisplayModes, NextTickAppliesTheMode) {
  LessonControl l("nav_lesson");
  const auto height = [&](std::string_view id) {
    return pagemodel::layout::offsetHeight(*l.node("tq_trans", id));
  };
  l.start();
  clickMode(l, kSingle);
  EXPECT_EQ(height("s0"), 0);  // the sheet hides every segment until the tick
  l.clock.advance(500);
  EXPECT_EQ(l.element("tq_trans", "s0").style().display(), "inline");
  EXPECT_GT(height("s0"), 0);
  EXPECT_EQ(height("s10"), 0);
  EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_refresh"), "0");

  clickMode(l, kScroll);
  l.clock.advance(500);
  EXPECT_EQ(l.attribute("tq_trans", "s0", "style"), "color: red");
  EXPECT_GT(height("s10"), 0);
}

TEST(ToggleSync, AbsentAttributeMeansOnSoTheFirstToggleSwitchesOff) {
  LessonControl l("nav_lesson");
  // Each toggle: tq_insync, tq_refresh and the button's image afterwards.
  for (const auto& [insync, refresh, image] : {std::tuple{"0", "0", "insync.gif"},
                                               std::tuple{"1", "1", "unsync.gif"}}) {
    const auto event = l.dispatch("", l.node("", "tq_sync"), [&](const Window&) {
                          l.control.toggleSync(l.documentRef("tq_trans"), l.element("", "tq_sync"));
                        }).event;
    EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_insync"), insync);
    EXPECT_EQ(l.attribute("tq_trans", "iText", "tq_refresh"), refresh);
    EXPECT_EQ(l.attribute("", "tq_sync", "src"), image);
    EXPECT_FALSE(event->cancelBubble());
    EXPECT_TRUE(event->returnValue().isEmpty());
  }
}

TEST(AddStyle, ChangesOnlyTheFirstRuleWhoseSelectorMatchesWithoutCase) {
  const std::vector<std::string> unchanged = {"color: red", "color: blue", "color: green"};
  const std::vector<std::string> first = {"color: red; display: none", "color: blue",
                                          "color: green"};
  const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
      {".segment", first},
      {".Segment", first},
      {".segment, .sync", {"color: red", "color: blue", "color: green; display: none"}},
      {".segment,.sync", unchanged},  // spaces count
      {" .segment", unchanged},
      {".nothing", unchanged}};
  for (const auto& [selector, rules] : cases) {
    SCOPED_TRACE(selector);
    LessonControl l("nav_lesson");
    l.control.addStyle(l.documentRef("tq_trans").styleSheet("probe"), selector, "display",
                       Value("none"));
    EXPECT_EQ(rulesOf(l, "probe"), rules);
  }
}

}  // namespace
}  // namespace reVoziz
