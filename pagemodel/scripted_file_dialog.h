#pragma once
// A file dialog whose answers a test scripts: each show takes the next answer
// as the chosen path, or cancels for an answer of nullopt, and records what
// the control asked for.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/platform.h"

namespace reVoziz::pagemodel {

struct FileDialogShown {
  bool save;
  std::string presetFileName;
  std::string filter;
  bool operator==(const FileDialogShown&) const = default;
};

class ScriptedFileDialog : public FileDialog {
 public:
  std::deque<std::optional<std::string>> answers;
  std::vector<FileDialogShown> shown;

 private:
  std::string pick(Purpose purpose) override;
};

}  // namespace reVoziz::pagemodel
