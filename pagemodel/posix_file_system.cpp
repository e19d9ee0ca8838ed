#include "pagemodel/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include "core/error.h"

namespace reVoziz::pagemodel {
namespace {

// The failure of a system call on `path`, with the code a script caller knows.
Error fileError(int error, std::string_view path) {
  const std::string where = ": " + std::string(path);
  switch (error) {
    case ENOENT:
      return Error(ErrorCode::FileNotFound, "File not found" + where);
    case ENOTDIR:
      return Error(ErrorCode::PathNotFound, "Path not found" + where);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ELOOP:
      return Error(ErrorCode::PermissionDenied, "Permission denied" + where);
    case EEXIST:
      return Error(ErrorCode::FileAlreadyExists, "File already exists" + where);
    default:
      return Error(ErrorCode::HostError, std::strerror(error) + where);
  }
}

class Descriptor {
 public:
  Descriptor(int fd, std::string_view path) : fd_(fd), path_(path) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  void close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw fileError(errno, path_);
  }
  Error failure() const { return fileError(errno, path_); }

 private:
  int fd_;
  std::string path_;
};

class PosixReadableFile : public ReadableFile {
 public:
  PosixReadableFile(int fd, std::string_view path) : file_(fd, path) {}
  std::string readAll() override {
    std::string bytes;
    char buffer[1 << 16];
    while (true) {
      const ssize_t n = ::read(file_.fd(), buffer, sizeof buffer);
      if (n == 0) return bytes;
      if (n < 0) {
        if (errno == EINTR) continue;
        throw file_.failure();
      }
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
  }

 private:
  Descriptor file_;
};

class PosixWritableFile : public WritableFile {
 public:
  PosixWritableFile(int fd, std::string_view path) : file_(fd, path) {}
  void append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t n = ::write(file_.fd(), bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        throw file_.failure();
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  void flush() override {
    if (::fsync(file_.fd()) != 0) throw file_.failure();
  }
  void close() override { file_.close(); }

 private:
  Descriptor file_;
};

}  // namespace

std::unique_ptr<ReadableFile> PosixFileSystem::openForReading(std::string_view path) {
  const std::string name(path);
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw fileError(errno, path);
  auto file = std::make_unique<PosixReadableFile>(fd, path);
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) throw fileError(EISDIR, path);
  return file;
}

std::unique_ptr<WritableFile> PosixFileSystem::createExclusive(std::string_view path) {
  const std::string name(path);
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        S_IRUSR | S_IWUSR);
  if (fd < 0) throw fileError(errno == ENOENT ? ENOTDIR : errno, path);
  return std::make_unique<PosixWritableFile>(fd, path);
}

void PosixFileSystem::rename(std::string_view from, std::string_view to) {
  if (std::rename(std::string(from).c_str(), std::string(to).c_str()) != 0) {
    throw fileError(errno, to);
  }
}

void PosixFileSystem::remove(std::string_view path) {
  if (::unlink(std::string(path).c_str()) != 0) throw fileError(errno, path);
}

std::string PosixFileSystem::temporaryFolder() {
  const char* variable = std::getenv("TMPDIR");
  std::string folder = (variable && *variable) ? variable : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string PosixFileSystem::freshTemporaryName() {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::random_device random;
  std::uniform_int_distribution<int> digit(0, 15);
  std::string name = "rad";
  for (int i = 0; i < 5; ++i) name += kHex[digit(random)];
  return name + ".tmp";
}

}  // namespace reVoziz::pagemodel
