#include "pagemodel/posix_file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <regex>

#include "core/error.h"
#include "support/lesson.h"
#include "support/scratch_folder.h"

namespace reVoziz::pagemodel {
namespace {

using testing::failureOf;
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

}  // namespace
}  // namespace reVoziz::pagemodel
