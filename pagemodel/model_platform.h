#pragma once
// The platform services of the page model: timers on a manual clock,
// scripted file dialogs, which stay reachable for the test that scripts them,
// and POSIX files, or whatever files a test hands in.

#include <memory>
#include <vector>

#include "core/platform.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/posix_file_system.h"
#include "pagemodel/scripted_file_dialog.h"

namespace reVoziz::pagemodel {

class ModelPlatform : public Platform {
 public:
  explicit ModelPlatform(ManualClock& clock) : clock_(clock), files_(posixFiles_) {}
  ModelPlatform(ManualClock& clock, FileSystem& files) : clock_(clock), files_(files) {}

  // Its ticks rest while what the control left for them holds on this platform.
  std::unique_ptr<Timer> createTimer() override;
  std::unique_ptr<FileDialog> createFileDialog() override;
  FileSystem& fileSystem() override { return files_; }
  // The stamp of the node's document, or of the document itself. An element
  // asked about is noted as a list, inside which more changes count.
  std::optional<std::uint64_t> changeStamp(const Object& node) override;

  // The dialogs handed out, in order; each lives as long as the control that holds it.
  const std::vector<ScriptedFileDialog*>& dialogs() const { return dialogs_; }

 private:
  ManualClock& clock_;
  PosixFileSystem posixFiles_;
  FileSystem& files_;
  std::vector<ScriptedFileDialog*> dialogs_;
};

}  // namespace reVoziz::pagemodel
