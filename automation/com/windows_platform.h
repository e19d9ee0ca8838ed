#pragma once
// The platform services on Windows: timers on the apartment's message loop,
// the common file dialogs and Win32 files.

#include "core/platform.h"

namespace reVoziz::com {

class WindowsPlatform : public Platform {
 public:
  std::unique_ptr<Timer> createTimer() override;
  std::unique_ptr<FileDialog> createFileDialog() override;
  FileSystem& fileSystem() override;

  // Marks a call of the control as under way. A modal dialog inside a call
  // pumps messages; the timers skip the ticks that come meanwhile, so a tick
  // never runs in the middle of a method.
  class CallScope {
   public:
    explicit CallScope(WindowsPlatform& platform) : calls_(platform.calls_) { ++calls_; }
    ~CallScope() { --calls_; }
    CallScope(const CallScope&) = delete;
    CallScope& operator=(const CallScope&) = delete;

   private:
    int& calls_;
  };

 private:
  int calls_ = 0;
};

}  // namespace reVoziz::com
