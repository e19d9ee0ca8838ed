#include "lessonmaking/system_lesson_files.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "pagemodel/posix_file_system.h"
#include "support/faulty_file_system.h"
#include "support/file_bytes.h"
#include "support/scratch_folder.h"

namespace reVoziz::lessonmaking {
namespace {

namespace fs = std::filesystem;
using testing::FileStep;
using testing::ScratchFolder;

// More than one chunk of the copy, and not a whole number of them.
std::string largeVideo() {
  std::string bytes((5 << 20) / 2, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
  return bytes;
}

TEST(SystemLessonFiles, AWriteOrCopyThatFailsAtAnyStepLeavesTheOldFileAndNamesIt) {
  pagemodel::PosixFileSystem host;
  ScratchFolder scratch;
  const std::string video = largeVideo();
  const std::string source = scratch.write("video.webm", video);
  SystemLessonFiles(host).copy(source, scratch.file("lesson.webm"));
  EXPECT_EQ(scratch.read("lesson.webm"), video);
  for (const bool copy : {false, true}) {
    for (const FileStep step : {FileStep::Create, FileStep::Write, FileStep::ShortWrite, FileStep::Flush,
                                FileStep::Close, FileStep::Rename}) {
      SCOPED_TRACE(testing::fileStepName(step) + (copy ? " copy" : " write"));
      scratch.write("lesson.webm", "old");
      testing::FaultyFileSystem faulty(host);
      SystemLessonFiles files(faulty);
      faulty.failNext(step);
      try {
        copy ? files.copy(source, scratch.file("lesson.webm")) : files.write(scratch.file("lesson.webm"), video);
        ADD_FAILURE() << "no error";
      } catch (const Error& e) {
        const std::string doing = copy ? "write the copy of " + source : std::string("write the file");
        EXPECT_TRUE(std::string(e.what()).starts_with(scratch.file("lesson.webm") + ": cannot " + doing + ": "))
            << e.what();
      }
      EXPECT_EQ(scratch.read("lesson.webm"), "old");
      EXPECT_EQ(scratch.names(), (std::vector<std::string>{"lesson.webm", "video.webm"}));
    }
  }
}

TEST(SystemLessonFiles, AWriteOrCopyOverALinkReplacesTheLinkNotTheFileItNames) {
  pagemodel::PosixFileSystem host;
  SystemLessonFiles files(host);
  ScratchFolder scratch;
  const std::string outside = scratch.write("outside.webm", "the user's own video");
  for (const bool copy : {false, true}) {
    fs::remove(scratch.path() / "lesson.webm");
    fs::create_symlink(outside, scratch.path() / "lesson.webm");
    if (copy) {
      files.copy(scratch.write("other.webm", "another video"), scratch.file("lesson.webm"));
    } else {
      files.write(scratch.file("lesson.webm"), "another video");
    }
    EXPECT_FALSE(fs::is_symlink(scratch.path() / "lesson.webm")) << copy;
    EXPECT_EQ(scratch.read("lesson.webm"), "another video") << copy;
    EXPECT_EQ(scratch.read("outside.webm"), "the user's own video") << copy;
  }
  // A link replaces a file in one step too.
  files.link(outside, scratch.file("lesson.webm"));
  EXPECT_EQ(fs::read_symlink(scratch.path() / "lesson.webm"), outside);
}

TEST(SystemLessonFiles, KindsFollowLinksAndOnlyAnUnreachablePathIsAnError) {
  pagemodel::PosixFileSystem host;
  SystemLessonFiles files(host);
  ScratchFolder scratch;
  scratch.write("file", "x");
  fs::create_directory(scratch.path() / "folder");
  fs::create_symlink("file", scratch.path() / "to_file");
  fs::create_symlink("none", scratch.path() / "dangling");
  fs::create_symlink("loop", scratch.path() / "loop");
  const struct {
    std::string path;
    PathKind kind;
  } kinds[] = {
      {"file", PathKind::File},      {"folder", PathKind::Folder},   {"to_file", PathKind::File},
      {"none", PathKind::None},      {"file/under", PathKind::None}, {"none/under", PathKind::None},
      {"dangling", PathKind::None},
  };
  for (const auto& k : kinds) EXPECT_EQ(files.kind(scratch.path() / k.path), k.kind) << k.path;
  const struct {
    std::string path;
    ErrorCode code;
  } errors[] = {{"loop", ErrorCode::PermissionDenied}, {std::string(300, 'a'), ErrorCode::PathNotFound}};
  for (const auto& e : errors) {
    try {
      files.kind(scratch.path() / e.path);
      ADD_FAILURE() << e.path;
    } catch (const Error& error) {
      EXPECT_EQ(error.code(), e.code);
      EXPECT_TRUE(std::string(error.what()).starts_with(scratch.file(e.path) + ": cannot reach it: "));
    }
  }

}

TEST(SystemLessonFiles, AListingIsSortedAndTellsLinksAndKinds) {
  pagemodel::PosixFileSystem host;
  SystemLessonFiles files(host);
  ScratchFolder scratch;
  scratch.write("b_file", "x");
  fs::create_directory(scratch.path() / "c_folder");
  fs::create_symlink("b_file", scratch.path() / "d_to_file");
  fs::create_symlink("none", scratch.path() / "a_dangling");
  std::vector<std::string> listed;
  for (const FolderEntry& entry : files.list(scratch.path())) {
    listed.push_back(entry.name + (entry.link ? " link " : " ") + std::to_string(static_cast<int>(entry.kind)));
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"a_dangling link 0", "b_file 1", "c_folder 2", "d_to_file link 1"}));
  fs::create_symlink("e_loop", scratch.path() / "e_loop");
  try {
    files.list(scratch.path());
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.code(), ErrorCode::PermissionDenied);
    EXPECT_TRUE(std::string(e.what()).starts_with(scratch.file("e_loop") + ": cannot reach it: ")) << e.what();
  }
}

}  // namespace
}  // namespace reVoziz::lessonmaking
