#include "support/faulty_file_system.h"

#include "core/error.h"

namespace reVoziz::testing {
namespace {

class FaultyReadableFile : public ReadableFile {
 public:
  FaultyReadableFile(std::unique_ptr<ReadableFile> target, FaultyFileSystem& files)
      : target_(std::move(target)), files_(files) {}
  std::string readAll() override {
    files_.maybeFail(FileStep::Read);
    return target_->readAll();
  }

 private:
  std::unique_ptr<ReadableFile> target_;
  FaultyFileSystem& files_;
};

class FaultyWritableFile : public WritableFile {
 public:
  FaultyWritableFile(std::unique_ptr<WritableFile> target, FaultyFileSystem& files)
      : target_(std::move(target)), files_(files) {}
  void append(std::string_view bytes) override {
    if (files_.pending(FileStep::ShortWrite)) target_->append(bytes.substr(0, bytes.size() / 2));
    files_.maybeFail(FileStep::ShortWrite);
    files_.maybeFail(FileStep::Write);
    target_->append(bytes);
  }
  void flush() override {
    files_.maybeFail(FileStep::Flush);
    target_->flush();
  }
  void close() override {
    files_.maybeFail(FileStep::Close);
    target_->close();
  }

 private:
  std::unique_ptr<WritableFile> target_;
  FaultyFileSystem& files_;
};

}  // namespace

std::string fileStepName(FileStep step) {
  static constexpr const char* kNames[] = {"Open",  "Read",  "Create", "Write",    "ShortWrite",
                                           "Flush", "Close", "Rename", "Overwrite"};
  return kNames[static_cast<int>(step)];
}

void FaultyFileSystem::maybeFail(FileStep step) {
  if (failing_ != step) return;
  if (passing_ > 0) {
    --passing_;
    return;
  }
  failing_.reset();
  fired_ = true;
  if (step == FileStep::ShortWrite) {
    throw Error(ErrorCode::HostError, "No space left on device");
  }
  throw Error(ErrorCode::PermissionDenied, "Permission denied (injected)");
}

std::unique_ptr<ReadableFile> FaultyFileSystem::openForReading(std::string_view path) {
  maybeFail(FileStep::Open);
  return std::make_unique<FaultyReadableFile>(target_.openForReading(path), *this);
}

std::unique_ptr<ReadableFile> FaultyFileSystem::openPrivateForReading(std::string_view path) {
  maybeFail(FileStep::Open);
  return std::make_unique<FaultyReadableFile>(target_.openPrivateForReading(path), *this);
}

std::unique_ptr<WritableFile> FaultyFileSystem::createExclusive(std::string_view path) {
  maybeFail(FileStep::Create);
  return std::make_unique<FaultyWritableFile>(target_.createExclusive(path), *this);
}

FileStanding FaultyFileSystem::standing(std::string_view path) {
  FileStanding standing = target_.standing(path);
  if (adjustStanding) adjustStanding(standing);
  return standing;
}

std::unique_ptr<WritableFile> FaultyFileSystem::openForOverwrite(std::string_view path) {
  maybeFail(FileStep::Overwrite);
  return std::make_unique<FaultyWritableFile>(target_.openForOverwrite(path), *this);
}

void FaultyFileSystem::rename(std::string_view from, std::string_view to) {
  if (beforeRename) beforeRename();
  maybeFail(FileStep::Rename);
  target_.rename(from, to);
}

std::string FaultyFileSystem::temporaryFolder() {
  return temporaryFolderOverride.empty() ? target_.temporaryFolder() : temporaryFolderOverride;
}

std::string FaultyFileSystem::freshTemporaryName() {
  if (scriptedNames.empty()) {
    namesHandedOut.push_back(target_.freshTemporaryName());
  } else {
    namesHandedOut.push_back(scriptedNames.front());
    scriptedNames.pop_front();
  }
  return namesHandedOut.back();
}

}  // namespace reVoziz::testing
