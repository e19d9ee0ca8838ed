#pragma once
// A file dialog whose answers a test scripts: each show takes the next answer
// as the chosen path, or cancels for an answer of nullopt, and records what
// the control asked for.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "control/platform.h"

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

  std::string fileName() const override { return fileName_; }
  void setFileName(std::string_view name) override { fileName_ = name; }
  std::string filter() const override { return filter_; }
  void setFilter(std::string_view filter) override { filter_ = filter; }
  void showOpen() override { show(false); }
  void showSave() override { show(true); }

 private:
  void show(bool save);
  std::string fileName_;
  std::string filter_;
};

}  // namespace reVoziz::pagemodel
