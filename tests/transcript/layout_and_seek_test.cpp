#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "support/lesson.h"

namespace reVoziz {
namespace {

using testing::failureOf;

using testing::Lesson;
using testing::LessonControl;
using testing::NodePtr;

const std::vector<std::string> kLayoutButtons = {"modefull", "modetoc", "modetrans", "modevideo"};

std::string srcOf(const Lesson& l, std::string_view id) {
  return l.node("", id)->attributeOr("src");
}

TEST(ShowMode, OtherButtonOrLayoutOnlyResetsTheFourImages) {
  for (const auto& [button, layout] :
       {std::pair{"modetoc", 1}, std::pair{"modevideo", 1}, std::pair{"modefull", 2}}) {
    SCOPED_TRACE(button);
    LessonControl l("nav_lesson");
    l.start();
    l.control.showMode(l.element("", button), layout);
    for (const std::string& id : kLayoutButtons) EXPECT_EQ(srcOf(l, id), id + ".gif");
    EXPECT_TRUE(l.top->resizes.empty());
    EXPECT_EQ(l.element("", "tra").style().display(), "none");
    EXPECT_EQ(l.element("", "toc").style().display(), "none");
  }
}

TEST(ShowMode, FullLayoutSizesTheWindowAndShowsBothPanels) {
  struct Case {
    int availWidth;
    const char* playerWidth;
    const char* maxWidth;
    int availHeight;
    const char* playerHeight;
    const char* maxHeight;
    std::pair<int, int> size;
  };
  // The other frame of each pair carries a decoy value (999) that must not be used.
  for (const Case& c : {Case{1024, "320", "400", 768, "240", "160", {720, 400}},
                        Case{640, "320", "400", 300, "240", "160", {640, 300}},
                        Case{1024, "320.5px", "320", 768, "240.5px", "160", {640, 400}},
                        Case{1024, "321.5px", "320", 768, "241.5px", "160", {642, 402}},
                        Case{1024, "100%", " 4 00", 768, "240", "160px", {500, 400}}}) {
    SCOPED_TRACE(std::string(c.playerWidth) + " + " + c.maxWidth);
    LessonControl l("nav_lesson");
    l.top->availWidth = c.availWidth;
    l.top->availHeight = c.availHeight;
    l.player->width = c.playerWidth;
    l.player->height = c.playerHeight;
    l.document("tq_trans")->body()->setAttribute("tq_maxWidth", c.maxWidth);
    l.document("frameToc")->body()->setAttribute("tq_maxHeight", c.maxHeight);
    l.start();
    l.control.showMode(l.element("", "modefull"), 1);
    EXPECT_EQ(l.top->resizes, (std::vector<std::pair<int, int>>{c.size}));
    EXPECT_EQ(l.element("", "tra").style().display(), "block");
    EXPECT_EQ(l.element("", "toc").style().display(), "block");
    for (const std::string& id : kLayoutButtons) EXPECT_EQ(srcOf(l, id), id + ".gif");
  }
}

// The full layout reads tq_maxWidth from whatever page the transcript frame
// shows: each page the sample's menu loads there must carry it, the notes
// page too ("Vista completa" after "Solo vídeo" while the notes are shown).
TEST(ShowMode, FullLayoutAfterVideoOnlyWorksWhateverTheSamplesMenuShows) {
  LessonControl sample(REVOZIZ_SAMPLE_LESSON);
  std::vector<std::string> addresses;
  sample.node("", "tq_selOps1")->forEachDescendantElement([&](const NodePtr& e) {
    if (!e->attributeOr("tq_href").empty()) addresses.push_back(e->attributeOr("tq_href"));
    return true;
  });
  ASSERT_EQ(addresses, (std::vector<std::string>{"trans_en.html", "notes.html"}));
  for (const std::string& address : addresses) {
    SCOPED_TRACE(address);
    LessonControl l(REVOZIZ_SAMPLE_LESSON);
    l.top->availWidth = 1280;
    l.top->availHeight = 1024;
    l.player->width = "480";
    l.player->height = "360";
    l.start();
    NodePtr option;
    l.node("", "tq_selOps1")->forEachDescendantElement([&](const NodePtr& e) {
      if (e->attributeOr("tq_href") == address) option = e;
      return !option;
    });
    l.control.switchText(l.documentRef(), Element(std::shared_ptr<Object>(option)));
    ASSERT_EQ(l.document("tq_trans")->address(), address);
    l.control.showMode(l.element("", "modevideo"), 1);
    l.control.showMode(l.element("", "modefull"), 1);
    EXPECT_EQ(l.top->resizes, (std::vector<std::pair<int, int>>{{480 + 400, 360 + 160}}));
    EXPECT_EQ(l.element("", "tra").style().display(), "block");
  }
}

TEST(ShowMode, ButtonWithoutOffImageStopsTheResetThere) {
  LessonControl l("nav_lesson");
  l.start();
  l.node("", "modetrans")->removeAttribute("tq_src_off");
  EXPECT_EQ(failureOf([&] { l.control.showMode(l.element("", "modefull"), 1); }),
            ErrorCode::MemberNotFound);
  EXPECT_EQ(srcOf(l, "modefull"), "modefull.gif");
  EXPECT_EQ(srcOf(l, "modetoc"), "modetoc.gif");
  EXPECT_EQ(srcOf(l, "modetrans"), "modetrans_on.gif");
  EXPECT_EQ(srcOf(l, "modevideo"), "modevideo_on.gif");
  EXPECT_TRUE(l.top->resizes.empty());
}

TEST(ShowMode, FullLayoutFailsBeforeResizingWithoutASizeOrFrameOrBeyond32Bits) {
  struct Case {
    const char* label;
    const char* lesson;
    std::function<void(LessonControl&)> breakPage;
    ErrorCode failure;
  };
  const auto sizes = [](const char* playerWidth, const char* maxWidth) {
    return [=](LessonControl& l) {
      l.player->width = playerWidth;
      l.document("tq_trans")->body()->setAttribute("tq_maxWidth", maxWidth);
    };
  };
  const Case cases[] = {
      {"no tq_maxWidth", "nav_lesson",
       [](LessonControl& l) { l.document("tq_trans")->body()->removeAttribute("tq_maxWidth"); },
       ErrorCode::MemberNotFound},
      {"no tq_maxHeight", "nav_lesson",
       [](LessonControl& l) { l.document("frameToc")->body()->removeAttribute("tq_maxHeight"); },
       ErrorCode::MemberNotFound},
      {"no tq_trans frame", "nav_no_frames", [](LessonControl&) {}, ErrorCode::MemberNotFound},
      {"no frameToc frame", "nav_missing_parts", [](LessonControl&) {}, ErrorCode::MemberNotFound},
      {"width above 32 bits", "nav_lesson", sizes("2147483000", "1000"), ErrorCode::Overflow},
      {"width below 32 bits", "nav_lesson", sizes("-2147483000", "-1000"), ErrorCode::Overflow},
      {"width beyond reals", "nav_lesson", sizes("1e400", "400"), ErrorCode::Overflow},
      {"height above 32 bits", "nav_lesson",
       [](LessonControl& l) { l.player->height = "2147483647.5"; }, ErrorCode::Overflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    LessonControl l(c.lesson);
    c.breakPage(l);
    l.start();
    EXPECT_EQ(failureOf([&] { l.control.showMode(l.element("", "modefull"), 1); }), c.failure);
    for (const std::string& id : kLayoutButtons) EXPECT_EQ(srcOf(l, id), id + ".gif");
    EXPECT_TRUE(l.top->resizes.empty());
    EXPECT_EQ(l.element("", "tra").style().display(), "none");
  }
}

TEST(ShowModeAndGoTo, FailBeforeStart) {
  LessonControl l("nav_lesson");
  EXPECT_EQ(failureOf([&] { l.control.showMode(l.element("", "modefull"), 1); }),
            ErrorCode::ObjectRequired);
  EXPECT_EQ(srcOf(l, "modefull"), "modefull_on.gif");
  EXPECT_EQ(failureOf([&] { l.control.goTo_("00:00:10"); }), ErrorCode::ObjectRequired);
  EXPECT_TRUE(l.player->seeks.empty());
  EXPECT_EQ(l.player->playCalls, 0);
}

TEST(GoTo, SeeksAndPlaysAlsoFromPause) {
  for (const auto& [timeCode, seconds] :
       {std::pair{"00:01:05", 65}, std::pair{"00:00:00", 0}, std::pair{"1:30.5", 90}}) {
    SCOPED_TRACE(timeCode);
    LessonControl l("nav_lesson");
    l.start();
    l.player->seek(12);
    l.player->pause();
    const int playCalls = l.player->playCalls;
    l.control.goTo_(timeCode);
    EXPECT_EQ(l.player->seeks, std::vector<double>{double(seconds)});
    EXPECT_EQ(l.player->position(), seconds);
    EXPECT_TRUE(l.player->playing());
    EXPECT_EQ(l.player->playCalls, playCalls + 1);
  }
}

TEST(GoTo, AnOverflowingTimeCodeLeavesThePlayerAlone) {
  for (const char* timeCode : {"99999999:0:0", "596523:14:08", "1e400"}) {
    SCOPED_TRACE(timeCode);
    LessonControl l("nav_lesson");
    l.start();
    l.player->pause();
    const int playCalls = l.player->playCalls;
    EXPECT_EQ(failureOf([&] { l.control.goTo_(timeCode); }), ErrorCode::Overflow);
    EXPECT_TRUE(l.player->seeks.empty());
    EXPECT_FALSE(l.player->playing());
    EXPECT_EQ(l.player->playCalls, playCalls);
  }
}

// The menu of nav_lesson: options list visibility, the frame's address, the
// option's address and label, and the label shown.
std::vector<std::string> menuState(const Lesson& l) {
  return {l.element("", "tq_selOps1").style().visibility(), l.document("tq_trans")->address(),
          l.node("", "optEn")->attributeOr("tq_href"), l.element("", "optEn").innerText(),
          l.element("", "tq_selLabel").innerText()};
}

void openMenu(const Lesson& l) {
  l.element("", "tq_selOps1").style().setVisibility("visible");
}

TEST(SwitchText, LoadsTheChoiceAndSwapsLabelsAndAddressesBothWays) {
  LessonControl l("nav_lesson");
  const auto before = menuState(l);
  ASSERT_EQ(before, (std::vector<std::string>{"hidden", "trans.html", "trans_en.html",
                                              "English", "Español"}));
  openMenu(l);
  l.control.switchText(l.documentRef(), l.element("", "optEn"));
  EXPECT_EQ(menuState(l), (std::vector<std::string>{"hidden", "trans_en.html", "trans.html",
                                                    "Español", "English"}));
  EXPECT_NE(l.document("tq_trans")->elementById("e0"), nullptr) << "the frame loaded the page";
  openMenu(l);
  l.control.switchText(l.documentRef(), l.element("", "optEn"));
  EXPECT_EQ(menuState(l), before);
}

TEST(SwitchText, FailureLeavesTheStepsBeforeItDone) {
  // A missing frame fails once the list is hidden; a missing label element once
  // the frame was sent to the new address.
  const std::vector<std::pair<const char*, std::vector<std::string>>> cases = {
      {"tq_selFrame", {"hidden", "trans.html", "trans_en.html", "English", "Español"}},
      {"tq_selId", {"hidden", "trans_en.html", "trans.html", "English", "Español"}}};
  for (const auto& [attribute, state] : cases) {
    SCOPED_TRACE(attribute);
    LessonControl l("nav_lesson");
    l.node("", "tq_sel")->setAttribute(attribute, "nowhere");
    openMenu(l);
    EXPECT_EQ(failureOf([&] { l.control.switchText(l.documentRef(), l.element("", "optEn")); }),
              ErrorCode::MemberNotFound);
    EXPECT_EQ(menuState(l), state);
  }
}

}  // namespace
}  // namespace reVoziz
