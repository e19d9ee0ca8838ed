#pragma once
// Test fixtures: a lesson loaded from tests/lessons/<name>/index.html into the
// page model, and a control started on it with a simulated player.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "core/dom.h"
#include "core/error.h"
#include "core/player.h"
#include "control/tq.h"
#include "pagemodel/document_model.h"
#include "pagemodel/event_model.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"
#include "pagemodel/player_model.h"
#include "pagemodel/posix_file_system.h"
#include "pagemodel/window_model.h"
#include "support/faulty_file_system.h"

namespace reVoziz::testing {

using pagemodel::NodePtr;
using pagemodel::WindowModel;

// The index.html of a fixture lesson, or of the lesson folder at an absolute path.
std::string lessonIndex(std::string_view name);

// StartedFlag never clears, so "before" states are only seen on a new thread.
template <class Body>
void onFreshThread(Body body) {
  std::thread thread(body);
  thread.join();
}

// The code of the Error that `call` raises; fails the test when it raises none.
ErrorCode failureOf(const std::function<void()>& call);

// An event that a dispatch method handled, and the error it ended with, if any.
struct Dispatched {
  std::shared_ptr<pagemodel::EventModel> event;
  std::optional<ErrorCode> failure;
};

class Lesson {
 public:
  explicit Lesson(std::string_view name);

  std::shared_ptr<WindowModel> top;

  // A frame of the top page by name; "" is the top window itself.
  std::shared_ptr<WindowModel> window(std::string_view frame = {}) const;
  std::shared_ptr<pagemodel::DocumentModel> document(std::string_view frame = {}) const;
  // The element with that id in the frame's document; fails the test when absent.
  NodePtr node(std::string_view frame, std::string_view id) const;

  // Facade views for handing to the control.
  Window windowRef(std::string_view frame = {}) const;
  Document documentRef(std::string_view frame = {}) const;
  Element element(std::string_view frame, std::string_view id) const;
  // An attribute of an element as the markup now holds it; "" when absent.
  std::string attribute(std::string_view frame, std::string_view id, std::string_view name) const;
};

// A lesson with a control and a simulated player on a manual clock. The
// control is not started; call start().
class LessonControl : public Lesson {
 public:
  explicit LessonControl(std::string_view name);

  pagemodel::ManualClock clock;
  pagemodel::PosixFileSystem posixFiles;
  FaultyFileSystem files{posixFiles};
  pagemodel::ModelPlatform platform{clock, files};
  std::shared_ptr<pagemodel::PlayerModel> player;
  tq control{platform};

  void start();
  // The control's file dialog.
  pagemodel::ScriptedFileDialog& fileDialog() const { return *platform.dialogs().front(); }
  // Runs `handler` with the frame's window while an event from `source` is its
  // current event, keeping the event and the error the handler ended with.
  Dispatched dispatch(std::string_view frame, NodePtr source,
                      const std::function<void(const Window&)>& handler,
                      pagemodel::EventInit init = {});
};

}  // namespace reVoziz::testing
