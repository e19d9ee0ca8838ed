#pragma once
// The platform services on Windows: timers on the apartment's message loop
// and the common file dialogs.

#include "control/platform.h"

namespace reVoziz::com {

class WindowsPlatform : public Platform {
 public:
  std::unique_ptr<Timer> createTimer() override;
  std::unique_ptr<FileDialog> createFileDialog() override;
};

}  // namespace reVoziz::com
