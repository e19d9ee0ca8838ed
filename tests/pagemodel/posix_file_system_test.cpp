#include "pagemodel/posix_file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <iostream>
#include <filesystem>
#include <functional>
#include <regex>

#include "core/error.h"
#include "support/file_bytes.h"
#include "support/lesson.h"
#include "support/scratch_folder.h"

namespace reVoziz::pagemodel {
namespace {

using testing::failureOf;
using testing::fileBytes;
using testing::ScratchFolder;

class PosixFiles : public ::testing::Test {
 protected:
  PosixFileSystem files;
  ScratchFolder folder;
};

TEST_F(PosixFiles, ExclusiveFilesAreTheOwnersOnlyAndNeverReplaceAnything) {
  const mode_t previous = ::umask(0);  // even a permissive umask gives no access to others
  files.createExclusive(folder.file("new"))->close();
  ::umask(previous);
  struct stat info {};
  ASSERT_EQ(::stat(folder.file("new").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  folder.write("taken", "keep");
  std::filesystem::create_symlink(folder.file("elsewhere"), folder.file("link"));
  EXPECT_EQ(failureOf([&] { files.createExclusive(folder.file("taken")); }),
            ErrorCode::FileAlreadyExists);
  EXPECT_EQ(failureOf([&] { files.createExclusive(folder.file("link")); }),
            ErrorCode::FileAlreadyExists);
  EXPECT_EQ(folder.read("taken"), "keep");
  EXPECT_FALSE(std::filesystem::exists(folder.file("elsewhere")));
}

TEST_F(PosixFiles, FailuresCarryFileCodes) {
  EXPECT_EQ(failureOf([&] { files.openForReading(folder.file("missing")); }),
            ErrorCode::FileNotFound);
  EXPECT_EQ(failureOf([&] { files.openForReading(folder.path().string()); }),
            ErrorCode::PermissionDenied);
  EXPECT_EQ(failureOf([&] { files.createExclusive(folder.file("no/such")); }),
            ErrorCode::PathNotFound);
  EXPECT_EQ(failureOf([&] { files.rename(folder.file("missing"), folder.file("b")); }),
            ErrorCode::FileNotFound);
}

TEST_F(PosixFiles, TemporaryFolderAndNames) {
  EXPECT_TRUE(std::regex_match(files.freshTemporaryName(), std::regex("rad[0-9A-F]{16}\\.tmp")));
  EXPECT_NE(files.freshTemporaryName(), files.freshTemporaryName());
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved ? saved : "";
  ::setenv("TMPDIR", "/var/tmp//", 1);
  EXPECT_EQ(files.temporaryFolder(), "/var/tmp");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(files.temporaryFolder(), "/tmp");
  if (saved) ::setenv("TMPDIR", previous.c_str(), 1);
}

mode_t modeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

TEST_F(PosixFiles, AReplacedFileKeepsItsPermissionsAndANewOneGetsTheUsualMode) {
  const std::string shared = folder.write("shared.notes", "old");
  ::chmod(shared.c_str(), 0644);
  replaceFile(files, shared, "new");
  EXPECT_EQ(folder.read("shared.notes"), "new");
  EXPECT_EQ(modeOf(shared), 0644u);
  EXPECT_EQ(folder.names(), std::vector<std::string>{"shared.notes"});

  const std::string secret = folder.write("secret.notes", "old");
  ::chmod(secret.c_str(), 0640);
  replaceFile(files, secret, "new");
  EXPECT_EQ(modeOf(secret), 0640u);

  for (const mode_t mask : {mode_t{022}, mode_t{027}}) {
    const mode_t previous = ::umask(mask);
    const std::string fresh = folder.file("fresh" + std::to_string(mask) + ".notes");
    replaceFile(files, fresh, "first");
    ::umask(previous);
    EXPECT_EQ(modeOf(fresh), 0666u & ~mask) << "umask " << mask;
  }
}

TEST_F(PosixFiles, AReplacedFileKeepsItsGroupWhereTheProcessMaySetIt) {
  // A group of ours other than the one new files get; any group for root.
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
  std::erase(groups, ::getegid());
  if (::geteuid() == 0) groups.push_back(::getegid() == 1 ? 2 : 1);
  if (groups.empty()) GTEST_SKIP() << "the process belongs to one group only";

  const std::string path = folder.write("group.notes", "old");
  ASSERT_EQ(::chown(path.c_str(), static_cast<uid_t>(-1), groups.front()), 0);
  replaceFile(files, path, "new");
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_gid, groups.front());
  EXPECT_EQ(folder.read("group.notes"), "new");
}

TEST_F(PosixFiles, ALinkStaysALinkAndTheFileItPointsToIsReplacedInItsOwnFolder) {
  ScratchFolder elsewhere;
  const std::string target = elsewhere.write("real.notes", "old");
  ::chmod(target.c_str(), 0644);
  std::filesystem::create_symlink(target, folder.file("absolute"));
  std::filesystem::create_symlink("absolute", folder.file("relative"));

  replaceFile(files, folder.file("relative"), "through two links");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.file("relative")));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.file("absolute")));
  EXPECT_EQ(elsewhere.read("real.notes"), "through two links");
  EXPECT_EQ(modeOf(target), 0644u);
  // The fresh copy was made beside the real file, and is gone.
  EXPECT_EQ(elsewhere.names(), std::vector<std::string>{"real.notes"});
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"absolute", "relative"}));

  // A link to nothing yet makes the file where it points.
  std::filesystem::create_symlink(elsewhere.file("later.notes"), folder.file("dangling"));
  replaceFile(files, folder.file("dangling"), "made");
  EXPECT_EQ(elsewhere.read("later.notes"), "made");
  EXPECT_TRUE(std::filesystem::is_symlink(folder.file("dangling")));

  std::filesystem::create_symlink(folder.file("loop"), folder.file("loop"));
  EXPECT_EQ(failureOf([&] { replaceFile(files, folder.file("loop"), "x"); }), ErrorCode::PermissionDenied);
  EXPECT_EQ(joinPath(files, "/a", "b"), "/a/b");
}

TEST_F(PosixFiles, OnlyAnOwnerOnlyFileOfOursOpensAsPrivate) {
  files.createExclusive(folder.file("ours"))->close();
  EXPECT_EQ(files.openPrivateForReading(folder.file("ours"))->readAll(), "");

  const std::string open = folder.write("open", "x");
  ::chmod(open.c_str(), 0644);
  EXPECT_EQ(failureOf([&] { files.openPrivateForReading(open); }), ErrorCode::PermissionDenied);
  std::filesystem::create_symlink(folder.file("ours"), folder.file("link"));
  EXPECT_EQ(failureOf([&] { files.openPrivateForReading(folder.file("link")); }), ErrorCode::PermissionDenied);
  EXPECT_EQ(failureOf([&] { files.openPrivateForReading(folder.path().string()); }),
            ErrorCode::PermissionDenied);
  EXPECT_EQ(failureOf([&] { files.openPrivateForReading(folder.file("missing")); }), ErrorCode::FileNotFound);
  if (::geteuid() == 0) {
    const std::string theirs = folder.write("theirs", "x");
    ::chmod(theirs.c_str(), 0600);
    ASSERT_EQ(::chown(theirs.c_str(), 1, 1), 0);
    EXPECT_EQ(failureOf([&] { files.openPrivateForReading(theirs); }), ErrorCode::PermissionDenied);
  }
}

struct stat statOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
  return info;
}

TEST_F(PosixFiles, WhatTheUserMayNotWriteOrIsNoPlainFileIsRefusedAndLeftAlone) {
  const std::string readOnly = folder.write("read-only.notes", "old");
  ::chmod(readOnly.c_str(), 0444);
  const std::string fifo = folder.file("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  // The read-only mark holds for root too; a pipe is refused without waiting.
  for (const std::string& path : {readOnly, fifo, folder.path().string()}) {
    try {
      replaceFile(files, path, "new");
      ADD_FAILURE() << path << " replaced";
    } catch (const Error& e) {
      EXPECT_EQ(e.code(), ErrorCode::PermissionDenied) << path;
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
  EXPECT_EQ(folder.read("read-only.notes"), "old");
  EXPECT_EQ(modeOf(readOnly), 0444u);
  EXPECT_TRUE(S_ISFIFO(statOf(fifo).st_mode));
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"fifo", "read-only.notes"}));
}

// An access list that lets the user 1234 write, as the system stores it.
std::string accessListAttribute() {
  std::string bytes;
  auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(2, 4);  // version
  const std::uint32_t kNone = 0xFFFFFFFF;
  const std::uint32_t entries[][3] = {{0x01, 6, kNone}, {0x02, 6, 1234}, {0x04, 4, kNone}, {0x10, 6, kNone}, {0x20, 4, kNone}};
  for (const auto& e : entries) {
    put(e[0], 2);
    put(e[1], 2);
    put(e[2], 4);
  }
  return bytes;
}

std::string attributeOf(const std::string& path, const char* name) {
  std::string value(256, '\0');
  const ssize_t n = ::getxattr(path.c_str(), name, value.data(), value.size());
  value.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
  return value;
}

TEST_F(PosixFiles, AFileARenameWouldStripIsWrittenWhereItStands) {
  const std::string linked = folder.write("linked.notes", "old");
  ASSERT_EQ(::link(linked.c_str(), folder.file("second name").c_str()), 0);
  struct Case {
    const char* name;
    const char* attribute;
    std::string value;
  };
  const std::vector<Case> cases = {
      {"attributes.notes", "user.revoziz", "kept"},
      {"access-list.notes", "system.posix_acl_access", accessListAttribute()},
  };
  std::vector<std::string> paths = {linked};
  for (const Case& c : cases) {
    const std::string path = folder.write(c.name, "old");
    if (::setxattr(path.c_str(), c.attribute, c.value.data(), c.value.size(), 0) != 0) {
      std::cout << "not tried: " << c.attribute << " on this file system: " << std::strerror(errno) << "\n";
      continue;
    }
    paths.push_back(path);
  }
  for (const std::string& path : paths) {
    const struct stat before = statOf(path);
    replaceFile(files, path, "new");
    const struct stat after = statOf(path);
    EXPECT_EQ(fileBytes(path), "new") << path;
    EXPECT_EQ(after.st_ino, before.st_ino) << path;
    EXPECT_EQ(after.st_mode, before.st_mode) << path;
  }
  EXPECT_EQ(folder.read("second name"), "new");
  for (const Case& c : cases) {
    if (std::find(paths.begin(), paths.end(), folder.file(c.name)) == paths.end()) continue;
    EXPECT_EQ(attributeOf(folder.file(c.name), c.attribute), c.value) << c.attribute;
  }
  // The copy of the old content is gone.
  EXPECT_EQ(folder.names().size(), paths.size() + 1);
}

// The exit code of `save` run as the user nobody in a child process: 0, or
// the code of the Error it raised.
int asNobody(const std::function<void()>& save) {
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr id_t kNobody = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(1);
    try {
      save();
    } catch (const Error& e) {
      ::_exit(static_cast<int>(e.code()) & 0xFF);
    }
    ::_exit(0);
  }
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, 0), child);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(PosixFiles, InASharedFolderAnotherUsersFileKeepsItsOwnerAndGroup) {
  if (::geteuid() != 0) GTEST_SKIP() << "a file of another user, and a user to switch to, need root";
  ::chmod(folder.path().c_str(), 0777);  // anyone may add and rename files here
  const std::string closed = folder.write("closed.notes", "old");
  ::chmod(closed.c_str(), 0644);
  const std::string open = folder.write("open.notes", "old");
  ::chmod(open.c_str(), 0666);
  ASSERT_EQ(::chown(open.c_str(), 0, 0), 0);
  const struct stat before = statOf(open);

  EXPECT_EQ(asNobody([&] { replaceFile(files, closed, "new"); }), static_cast<int>(ErrorCode::PermissionDenied));
  EXPECT_EQ(folder.read("closed.notes"), "old");
  EXPECT_EQ(asNobody([&] { replaceFile(files, open, "new"); }), 0);
  const struct stat after = statOf(open);
  EXPECT_EQ(folder.read("open.notes"), "new");
  EXPECT_EQ(after.st_uid, 0u);
  EXPECT_EQ(after.st_gid, 0u);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode, before.st_mode);
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"closed.notes", "open.notes"}));
}

}  // namespace
}  // namespace reVoziz::pagemodel
