#pragma once
// A file system that forwards to another and fails one chosen step on demand,
// so tests can see what a failure at each step leaves behind.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/platform.h"

namespace reVoziz::testing {

enum class FileStep { Open, Read, Create, Write, ShortWrite, Flush, Close, Rename, Overwrite };

// The step's name, for test names.
std::string fileStepName(FileStep step);

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& target) : target_(target) {}

  // The next time `step` runs, after `passing` runs that succeed, it fails;
  // ShortWrite stores half the bytes first, as a full disk does. Each fault
  // fires once.
  void failNext(FileStep step, int passing = 0) {
    failing_ = step;
    passing_ = passing;
  }
  bool faultFired() const { return fired_; }
  // Temporary files go here instead of the host's folder.
  std::string temporaryFolderOverride;
  // Names freshTemporaryName hands out before it asks the target.
  std::deque<std::string> scriptedNames;
  // Every name handed out by freshTemporaryName, in order.
  std::vector<std::string> namesHandedOut;
  // Runs as a rename begins: what a page does while a host waits on it.
  std::function<void()> beforeRename;
  // Changes what standing answers: how a file of another owner, or one with
  // access lists, looks where the test cannot make one.
  std::function<void(FileStanding&)> adjustStanding;

  std::unique_ptr<ReadableFile> openForReading(std::string_view path) override;
  std::unique_ptr<ReadableFile> openPrivateForReading(std::string_view path) override;
  std::unique_ptr<WritableFile> createExclusive(std::string_view path) override;
  FileStanding standing(std::string_view path) override;
  std::unique_ptr<WritableFile> openForOverwrite(std::string_view path) override;
  void rename(std::string_view from, std::string_view to) override;
  std::string linkTarget(std::string_view path) override { return target_.linkTarget(path); }
  void remove(std::string_view path) override { target_.remove(path); }
  std::string temporaryFolder() override;
  std::string freshTemporaryName() override;
  std::string_view separator() const override { return target_.separator(); }

  // Raises the injected error when `step` is the one to fail.
  void maybeFail(FileStep step);
  bool pending(FileStep step) const { return failing_ == step && passing_ == 0; }

 private:
  FileSystem& target_;
  std::optional<FileStep> failing_;
  int passing_ = 0;
  bool fired_ = false;
};

}  // namespace reVoziz::testing
