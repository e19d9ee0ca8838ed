#pragma once
// The notes lesson with a started control: its notes page in the transcript
// frame, a scratch folder for files and temporary files, and short ways to
// reach the notes and the template.

#include <string>
#include <string_view>

#include "support/lesson.h"
#include "support/scratch_folder.h"

namespace reVoziz::testing {

class NotesLesson : public LessonControl {
 public:
  NotesLesson() : LessonControl("notes_lesson") {
    files.temporaryFolderOverride = folder.path().string();
    start();
  }

  ScratchFolder folder;

  Window notesWindow() const { return windowRef("tq_trans"); }
  std::string notes() const { return element("tq_trans", "notes").innerHTML(); }
  void setNotes(std::string_view html) const { element("tq_trans", "notes").setInnerHTML(html); }
  std::string shownFileName() const { return element("tq_trans", "notesFile").innerHTML(); }
  // Replaces the body of the template page.
  void setTemplateBody(std::string_view html) const {
    Element(std::shared_ptr<Object>(window("tq_trans")->frame("notesTemplate")->document()->body()))
        .setInnerHTML(html);
  }
  WindowModel& notesModel() const { return *window("tq_trans"); }
};

}  // namespace reVoziz::testing
