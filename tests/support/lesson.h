#pragma once
// Test fixtures: a lesson loaded from tests/lessons/<name>/index.html into the
// page model, and a control started on it with a simulated player.

#include <memory>
#include <string>
#include <string_view>

#include "control/dom.h"
#include "control/player.h"
#include "control/tq.h"
#include "pagemodel/document_model.h"
#include "pagemodel/event_model.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/model_platform.h"
#include "pagemodel/player_model.h"
#include "pagemodel/window_model.h"

namespace reVoziz::testing {

using pagemodel::NodePtr;
using pagemodel::WindowModel;

// The index.html of a fixture lesson.
std::string lessonIndex(std::string_view name);

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
};

// A lesson with a control and a simulated player on a manual clock. The
// control is not started; call start().
class LessonControl : public Lesson {
 public:
  explicit LessonControl(std::string_view name);

  pagemodel::ManualClock clock;
  pagemodel::ModelPlatform platform{clock};
  std::shared_ptr<pagemodel::PlayerModel> player;
  tq control{platform};

  void start();
  // Fires an event at an element of a frame and runs `handler` while it is current.
  std::shared_ptr<pagemodel::EventModel> fire(std::string_view frame, std::string_view id,
                                              const std::function<void(const Window&)>& handler,
                                              pagemodel::EventInit init = {});
};

}  // namespace reVoziz::testing
