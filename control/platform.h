#pragma once
// Platform services that a host hands to the control: its timer and its file
// dialog. The page model supplies a manual clock and a scripted dialog; a
// browser supplies setInterval and file pickers.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace reVoziz {

class Timer {
 public:
  virtual ~Timer() = default;
  // Milliseconds between ticks; 0 stops the timer. Setting a new interval
  // restarts the count, so the first tick comes one interval later.
  virtual void setInterval(std::int32_t ms) = 0;
  virtual std::int32_t interval() const = 0;
  virtual void onTick(std::function<void()> tick) = 0;
};

// A common file dialog: blocks until the user picks a file or cancels.
class FileDialog {
 public:
  virtual ~FileDialog() = default;
  virtual std::string fileName() const = 0;
  virtual void setFileName(std::string_view name) = 0;
  virtual std::string filter() const = 0;
  virtual void setFilter(std::string_view filter) = 0;
  virtual void showOpen() = 0;
  virtual void showSave() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual std::unique_ptr<Timer> createTimer() = 0;
  virtual std::unique_ptr<FileDialog> createFileDialog() = 0;
};

}  // namespace reVoziz
