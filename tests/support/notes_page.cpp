#include "support/notes_page.h"

#include "automation/page_model_binding.h"
#include "pagemodel/html_serializer.h"

namespace reVoziz::testing {

NotesPage::NotesPage(std::string_view lesson, bool started) : LessonControl(lesson) {
  automation::bindControl(*top, control);
  if (started) {
    start();
    player->pause();
  }
}

std::string NotesPage::notesHtml() const { return pagemodel::serializeChildren(*notes()); }

std::shared_ptr<pagemodel::EventModel> NotesPage::raise(std::string_view id, pagemodel::EventInit init) {
  return raise(node("", id), std::move(init));
}

std::shared_ptr<pagemodel::EventModel> NotesPage::raise(const NodePtr& target, pagemodel::EventInit init) {
  return pagemodel::raiseEvent(*top, target, std::move(init));
}

std::shared_ptr<pagemodel::EventModel> NotesPage::ctrlT(bool shift, bool alt) {
  return raise(notes(), {"keydown", 84, true, shift, alt});
}

void NotesPage::playerAt(double seconds) {
  player->seek(seconds);
  player->pause();
}

}  // namespace reVoziz::testing
