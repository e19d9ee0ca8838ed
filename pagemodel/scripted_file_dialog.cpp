#include "pagemodel/scripted_file_dialog.h"

#include "control/error.h"

namespace reVoziz::pagemodel {

void ScriptedFileDialog::show(bool save) {
  shown.push_back({save, fileName_, filter_});
  if (answers.empty()) throw Error(ErrorCode::HostError, "No answer scripted for the file dialog");
  const std::optional<std::string> answer = answers.front();
  answers.pop_front();
  if (!answer) throw Error(ErrorCode::DialogCancelled, "Cancel was selected.");
  fileName_ = *answer;
}

}  // namespace reVoziz::pagemodel
