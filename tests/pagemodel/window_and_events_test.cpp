// The window: its current event, screen, scripted dialogs, resizing and
// expandos.

#include <gtest/gtest.h>

#include "core/error.h"
#include "support/lesson.h"

namespace reVoziz {
namespace {

class WindowTest : public ::testing::Test {
 protected:
  testing::Lesson lesson{"model_frames"};
  Window top = lesson.windowRef();
  Window trans = lesson.windowRef("tq_trans");
};

TEST_F(WindowTest, EventIsSetOnlyWhileItsHandlerRuns) {
  EXPECT_FALSE(trans.event().isSet());
  const auto s1 = lesson.node("tq_trans", "s1");
  const auto fired = fireEvent(*lesson.window("tq_trans"), s1, {"keydown", 84, true}, [&] {
    const Event e = trans.event();
    ASSERT_TRUE(e.isSet());
    EXPECT_TRUE(e.srcElement().sameAs(lesson.element("tq_trans", "s1")));
    EXPECT_EQ(e.keyCode(), 84);
    EXPECT_TRUE(e.ctrlKey());
    EXPECT_TRUE(e.returnValue().isEmpty());
    e.setReturnValue(false);
    e.setCancelBubble(true);
    EXPECT_FALSE(top.event().isSet());  // the event is the frame's window's
    // An event raised meanwhile is current only for its own handler.
    fireEvent(*lesson.window("tq_trans"), s1, {}, [&] { EXPECT_FALSE(trans.event().sameAs(e)); });
    EXPECT_TRUE(trans.event().sameAs(e));
  });
  EXPECT_FALSE(trans.event().isSet());
  EXPECT_TRUE(fired->cancelBubble());
  EXPECT_EQ(fired->returnValue(), Value(false));

  EXPECT_THROW(fireEvent(*lesson.window("tq_trans"), s1, {}, [] { throw Error(ErrorCode::HostError, "step"); }),
               Error);
  EXPECT_FALSE(trans.event().isSet());
}

TEST_F(WindowTest, ScreenIsTheTopWindowsAndResizesAreRecorded) {
  lesson.top->availWidth = 1280;
  lesson.top->availHeight = 1000;
  EXPECT_EQ(trans.screen().availWidth(), 1280);
  EXPECT_EQ(trans.screen().availHeight(), 1000);
  top.resizeTo(900, 700);
  EXPECT_EQ(lesson.top->resizes, (std::vector<std::pair<int, int>>{{900, 700}}));
}

TEST_F(WindowTest, DialogsAnswerAsScriptedAndRecordWhatWasAsked) {
  lesson.top->confirmAnswers = {true, false};
  EXPECT_TRUE(top.confirm("¿Guardar?"));
  EXPECT_FALSE(top.confirm("¿Salir?"));
  EXPECT_THROW(top.confirm("¿Otra vez?"), Error);  // nothing left to answer
  EXPECT_EQ(lesson.top->confirmMessages, (std::vector<std::string>{"¿Guardar?", "¿Salir?", "¿Otra vez?"}));

  lesson.top->modalDialogAnswers = {Value("no")};
  EXPECT_EQ(top.showModalDialog("save.html", "notes", "dialogWidth:300px"), Value("no"));
  ASSERT_EQ(lesson.top->modalDialogRequests.size(), 1u);
  EXPECT_EQ(lesson.top->modalDialogRequests[0].url, "save.html");
  EXPECT_EQ(lesson.top->modalDialogRequests[0].arguments, Value("notes"));
  EXPECT_EQ(lesson.top->modalDialogRequests[0].features, "dialogWidth:300px");
}

TEST_F(WindowTest, ExpandosBelongToTheirWindow) {
  top.setProperty("tqStarted", true);
  EXPECT_EQ(top.property("tqStarted"), Value(true));
  EXPECT_THROW(trans.property("tqStarted"), Error);
  top.setProperty("tqStarted", false);
  EXPECT_EQ(top.property("tqStarted"), Value(false));
  EXPECT_THROW(top.setProperty("document", "x"), Error);
}

}  // namespace
}  // namespace reVoziz
