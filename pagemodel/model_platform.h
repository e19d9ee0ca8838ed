#pragma once
// The platform services of the page model: timers on a manual clock and
// scripted file dialogs, which stay reachable for the test that scripts them.

#include <memory>
#include <vector>

#include "control/platform.h"
#include "pagemodel/manual_clock.h"
#include "pagemodel/scripted_file_dialog.h"

namespace reVoziz::pagemodel {

class ModelPlatform : public Platform {
 public:
  explicit ModelPlatform(ManualClock& clock) : clock_(clock) {}

  std::unique_ptr<Timer> createTimer() override { return clock_.createTimer(); }
  std::unique_ptr<FileDialog> createFileDialog() override;

  // The dialogs handed out, in order; each lives as long as the control that holds it.
  const std::vector<ScriptedFileDialog*>& dialogs() const { return dialogs_; }

 private:
  ManualClock& clock_;
  std::vector<ScriptedFileDialog*> dialogs_;
};

}  // namespace reVoziz::pagemodel
