#pragma once
// A notes page with a started control bound to its handler attributes, so
// that events raised on the page take the road a browser gives them.

#include <memory>
#include <string>
#include <string_view>

#include "pagemodel/event_dispatch.h"
#include "support/editing.h"
#include "support/lesson.h"

namespace reVoziz::testing {

class NotesPage : public LessonControl {
 public:
  // Binds the control; `started` also runs startVelisk with the player paused.
  explicit NotesPage(std::string_view lesson = "editor_notes", bool started = true);

  pagemodel::DocumentModel& doc() const { return *document(); }
  NodePtr notes() const { return node("", "notes"); }
  // The markup inside the notes.
  std::string notesHtml() const;

  // Raises an event of `type` at the element with that id, or at `target`.
  std::shared_ptr<pagemodel::EventModel> raise(std::string_view id, pagemodel::EventInit init);
  std::shared_ptr<pagemodel::EventModel> raise(const NodePtr& target, pagemodel::EventInit init);
  std::shared_ptr<pagemodel::EventModel> click(std::string_view id) { return raise(id, {"click"}); }
  // Ctrl+T as the notes' key-down handler sees it.
  std::shared_ptr<pagemodel::EventModel> ctrlT(bool shift = false, bool alt = false);
  // The player at `seconds`, paused.
  void playerAt(double seconds);
};

}  // namespace reVoziz::testing
