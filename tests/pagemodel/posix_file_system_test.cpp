#include "pagemodel/posix_file_system.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

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
  EXPECT_TRUE(std::regex_match(files.freshTemporaryName(), std::regex("rad[0-9A-F]{5}\\.tmp")));
  EXPECT_NE(files.freshTemporaryName(), files.freshTemporaryName());
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved ? saved : "";
  ::setenv("TMPDIR", "/var/tmp//", 1);
  EXPECT_EQ(files.temporaryFolder(), "/var/tmp");
  ::unsetenv("TMPDIR");
  EXPECT_EQ(files.temporaryFolder(), "/tmp");
  if (saved) ::setenv("TMPDIR", previous.c_str(), 1);
}

TEST_F(PosixFiles, ReplaceFileSwapsInAPrivateCopyAndNeverFollowsALink) {
  const std::string path = folder.write("notes", "old");
  replaceFile(files, path, "new");
  EXPECT_EQ(folder.read("notes"), "new");
  EXPECT_EQ(folder.names(), std::vector<std::string>{"notes"});

  folder.write("target", "theirs");
  std::filesystem::create_symlink(folder.file("target"), folder.file("link"));
  replaceFile(files, folder.file("link"), "mine");
  EXPECT_EQ(folder.read("target"), "theirs");
  EXPECT_FALSE(std::filesystem::is_symlink(folder.file("link")));
  EXPECT_EQ(folder.read("link"), "mine");
  EXPECT_EQ(joinPath(files, "/a", "b"), "/a/b");
}

}  // namespace
}  // namespace reVoziz::pagemodel
