#include "pagemodel/posix_file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "core/error.h"
#include "core/in_place_save.h"

namespace reVoziz::pagemodel {
namespace {

// The usual wording of a file failure, as the automation runtime words it.
std::string usualText(int error) {
  switch (error) {
    case ENOENT:
      return "File not found";
    case ENOTDIR:
      return "Path not found";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ELOOP:
      return "Permission denied";
    case EEXIST:
      return "File already exists";
    default:
      return std::strerror(error);
  }
}

// The failure of a system call on `path`, with the code a script caller knows.
Error fileError(int error, std::string_view path) {
  return Error(fileErrorCode(error), usualText(error) + ": " + std::string(path));
}

Error notOurs(std::string_view path) {
  return Error(ErrorCode::PermissionDenied,
               "The file is no longer this program's own (a link, another owner, or open to others): " +
                   std::string(path));
}

// The process's file mode mask, read without changing it where the system tells.
mode_t currentUmask() {
  if (FILE* status = std::fopen("/proc/self/status", "re")) {
    char line[256];
    unsigned int mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(status);
    if (found) return static_cast<mode_t>(mask);
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
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

bool inGroup(gid_t group) {
  if (group == ::getegid()) return true;
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
  groups.resize(static_cast<std::size_t>(std::max(n, 0)));
  return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// The names of the extended attributes of `path`; none where the file system
// keeps none.
std::vector<std::string> attributeNames(const std::string& path) {
  for (;;) {
    const ssize_t size = ::listxattr(path.c_str(), nullptr, 0);
    if (size <= 0) return {};
    std::string names(static_cast<std::size_t>(size), '\0');
    const ssize_t n = ::listxattr(path.c_str(), names.data(), names.size());
    if (n < 0 && errno == ERANGE) continue;  // grew meanwhile
    if (n <= 0) return {};
    std::vector<std::string> list;
    for (std::size_t at = 0; at < static_cast<std::size_t>(n);) {
      const std::string name(names.c_str() + at);
      at += name.size() + 1;
      if (!name.empty()) list.push_back(name);
    }
    return list;
  }
}

// What a fresh file renamed over the file of `info` at `path` would lose.
std::vector<std::string> renameLosses(const std::string& path, const struct stat& info) {
  std::vector<std::string> lost;
  const bool root = ::geteuid() == 0;
  if (!root && info.st_uid != ::geteuid()) lost.push_back("owner");
  if (!root && !inGroup(info.st_gid)) lost.push_back("group");
  bool acl = false;
  bool other = false;
  for (const std::string& name : attributeNames(path)) {
    if (name.starts_with("system.posix_acl_")) {
      acl = true;
    } else if (name != "security.selinux") {
      other = true;
    }
  }
  if (acl) lost.push_back("access list");
  if (other) lost.push_back("extended attributes");
  if (info.st_nlink > 1) lost.push_back("hard links");
  return lost;
}

}  // namespace

ErrorCode fileErrorCode(int error) {
  switch (error) {
    case ENOENT:
      return ErrorCode::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
      return ErrorCode::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ELOOP:
      return ErrorCode::PermissionDenied;
    case EEXIST:
      return ErrorCode::FileAlreadyExists;
    default:
      return ErrorCode::HostError;
  }
}

std::unique_ptr<ReadableFile> PosixFileSystem::openForReading(std::string_view path) {
  const std::string name(path);
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw fileError(errno, path);
  auto file = std::make_unique<PosixReadableFile>(fd, path);
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) throw fileError(EISDIR, path);
  return file;
}

std::unique_ptr<ReadableFile> PosixFileSystem::openPrivateForReading(std::string_view path) {
  const std::string name(path);
  // O_NOFOLLOW refuses a link; the checks run on what was opened.
  const int fd = ::open(name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ELOOP) throw notOurs(path);
    throw fileError(errno, path);
  }
  auto file = std::make_unique<PosixReadableFile>(fd, path);
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw fileError(errno, path);
  if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0) {
    throw notOurs(path);
  }
  return file;
}

std::unique_ptr<WritableFile> PosixFileSystem::createExclusive(std::string_view path) {
  const std::string name(path);
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        S_IRUSR | S_IWUSR);
  if (fd < 0) throw fileError(errno == ENOENT ? ENOTDIR : errno, path);
  return std::make_unique<PosixWritableFile>(fd, path);
}

FileStanding PosixFileSystem::standing(std::string_view path) {
  const std::string name(path);
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0) {
    if (errno == ENOENT) return {};
    throw fileError(errno, path);
  }
  FileStanding standing;
  standing.exists = true;
  standing.regular = S_ISREG(info.st_mode);
  standing.readOnly = (info.st_mode & 0222) == 0;
  standing.writable = ::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) == 0;
  if (standing.regular) standing.renameLoses = renameLosses(name, info);
  return standing;
}

std::unique_ptr<WritableFile> PosixFileSystem::openForOverwrite(std::string_view path) {
  const std::string name(path);
  // Without O_TRUNC and never blocking: a pipe or device put there since the
  // file was judged is neither emptied nor waited on, only refused.
  const int fd = ::open(name.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) throw fileError(errno == ENXIO ? EACCES : errno, path);
  auto file = std::make_unique<PosixWritableFile>(fd, path);
  struct stat info {};
  if (::fstat(fd, &info) != 0) throw fileError(errno, path);
  if (!S_ISREG(info.st_mode)) throw notAPlainFile(path);
  if (::ftruncate(fd, 0) != 0) throw fileError(errno, path);
  return file;
}

void PosixFileSystem::rename(std::string_view from, std::string_view to) {
  const std::string fresh(from);
  const std::string target(to);
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    // The owner first: a change of owner may clear the set-id bits.
    if (::chown(fresh.c_str(), old.st_uid, old.st_gid) != 0) {
      // Not allowed to give the file away: keep at least the group if ours.
      [[maybe_unused]] const int kept = ::chown(fresh.c_str(), static_cast<uid_t>(-1), old.st_gid);
    }
    if (::chmod(fresh.c_str(), old.st_mode & 07777) != 0) throw fileError(errno, from);
  } else if (errno == ENOENT) {
    if (::chmod(fresh.c_str(), 0666 & ~currentUmask()) != 0) throw fileError(errno, from);
  } else {
    throw fileError(errno, to);
  }
  if (std::rename(fresh.c_str(), target.c_str()) != 0) throw fileError(errno, to);
}

std::string PosixFileSystem::linkTarget(std::string_view path) {
  std::string current(path);
  // As many links as the system itself follows before it gives up.
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(current.c_str(), &info) != 0) {
      if (errno == ENOENT) return current;  // a new file
      throw fileError(errno, path);
    }
    if (!S_ISLNK(info.st_mode)) return current;
    std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : PATH_MAX) + 1, '\0');
    const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0) throw fileError(errno, path);
    target.resize(static_cast<std::size_t>(n));
    // A relative target is read from the link's own folder.
    const auto slash = current.rfind('/');
    if (!target.starts_with('/') && slash != std::string::npos) target = current.substr(0, slash + 1) + target;
    current = std::move(target);
  }
  throw fileError(ELOOP, path);
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
  for (int i = 0; i < 16; ++i) name += kHex[digit(random)];
  return name + ".tmp";
}

}  // namespace reVoziz::pagemodel
