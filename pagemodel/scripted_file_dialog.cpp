#include "pagemodel/scripted_file_dialog.h"

#include "core/error.h"

namespace reVoziz::pagemodel {

std::string ScriptedFileDialog::pick(Purpose purpose) {
  shown.push_back({purpose == Purpose::Save, fileName(), filter()});
  if (answers.empty()) throw Error(ErrorCode::HostError, "No answer scripted for the file dialog");
  const std::optional<std::string> answer = answers.front();
  answers.pop_front();
  if (!answer) throw Error(ErrorCode::DialogCancelled, "Cancel was selected.");
  return *answer;
}

}  // namespace reVoziz::pagemodel
