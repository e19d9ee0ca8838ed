#pragma once
// The browser's platform services: a timer on setInterval, a file dialog
// over the browser's file pickers, and files behind those pickers and in the
// origin-private file system.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/platform.h"

namespace reVoziz::web {

// Counts the calls into the control that are under way. A call may wait on
// the browser (a dialog, a picker); ticks that fall due meanwhile are skipped,
// so a tick never overlaps a call.
class CallScope {
 public:
  CallScope() { ++depth_; }
  ~CallScope() { --depth_; }
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;
  static bool active() { return depth_ > 0; }

 private:
  static inline int depth_ = 0;
};

// Ticks on the host layer's interval (web/js/tick_timer.js), which checks a
// rest condition itself, so that a skipped tick never enters the module.
class WebTimer : public Timer {
 public:
  WebTimer();
  WebTimer(const WebTimer&) = delete;
  WebTimer& operator=(const WebTimer&) = delete;
  ~WebTimer() override;
  void setInterval(std::int32_t ms) override;
  std::int32_t interval() const override { return interval_; }
  void onTick(std::function<void()> tick) override { tick_ = std::move(tick); }
  void restWhile(std::optional<QuietTicks> quiet) override;

  // The host layer's interval calls this with the timer's key.
  static void fire(int key);

 private:
  void stop();

  int key_;
  std::int32_t interval_ = 0;
  double id_ = 0;  // the host layer's interval, 0 when stopped
  bool resting_ = false;  // the host layer holds a rest from this timer
  std::function<void()> tick_;
};

// The host layer's pickers; showOpen and showSave wait for the user.
class WebFileDialog : public FileDialog {
  std::string pick(Purpose purpose) override;
};

// Notes files in the browser, each step waiting on the host layer. A path
// the picker gave is the file the user picked there, kept by the host layer
// under that name (browsers give no full path). Any other path is an entry of
// the origin-private file system, which is the temporary folder.
class WebFileSystem : public FileSystem {
 public:
  std::unique_ptr<ReadableFile> openForReading(std::string_view path) override;
  // The temporary folder is the origin's own, which no one else can reach.
  std::unique_ptr<ReadableFile> openPrivateForReading(std::string_view path) override {
    return openForReading(path);
  }
  std::unique_ptr<WritableFile> createExclusive(std::string_view path) override;
  // Picked files keep their content's place; the browser writes in place.
  void rename(std::string_view from, std::string_view to) override;
  // Browsers show no links: a picked file is written where it is.
  std::string linkTarget(std::string_view path) override { return std::string(path); }
  void remove(std::string_view path) override;
  // The origin-private folder's root: joined paths read "/name".
  std::string temporaryFolder() override { return {}; }
  std::string freshTemporaryName() override;
  std::string_view separator() const override { return "/"; }
};

class WebPlatform : public Platform {
 public:
  std::unique_ptr<Timer> createTimer() override { return std::make_unique<WebTimer>(); }
  std::unique_ptr<FileDialog> createFileDialog() override {
    return std::make_unique<WebFileDialog>();
  }
  FileSystem& fileSystem() override { return files_; }
  // From the page's change stamps (web/js/change_stamp.js), when the page
  // handed them to the module (Module.revozizChangeStamp).
  std::optional<std::uint64_t> changeStamp(const Object& node) override;

 private:
  WebFileSystem files_;
};

}  // namespace reVoziz::web
