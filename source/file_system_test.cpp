#include "source/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "source/testing/test_folder.h"

namespace {

// A folder holding one of each kind the program meets.
class FileSystemTest : public ::testing::Test {
 protected:
  FileSystemTest() {
    file_ = folder_.Write("main.pb", "x = 1\n");
    sub_ = folder_.MakeFolder("sub");
    fifo_ = folder_.Path() + "pipe.pbp";
    ::mkfifo(fifo_.c_str(), 0600);
    loop_ = folder_.Path() + "loop";
    ::symlink("loop", loop_.c_str());
    link_ = folder_.Path() + "link.pb";
    ::symlink("main.pb", link_.c_str());
  }

  TestFolder folder_;
  std::string file_, sub_, fifo_, loop_, link_;
};

}  // namespace

TEST_F(FileSystemTest, KindsFollowSymbolicLinks) {
  const std::string missing = folder_.Path() + "missing.pb";
  EXPECT_TRUE(IsRegularFile(file_) && IsRegularFile(link_));
  EXPECT_FALSE(IsRegularFile(sub_) || IsRegularFile(fifo_) || IsRegularFile(loop_) || IsRegularFile(missing));
  EXPECT_TRUE(IsFolder(sub_) && IsFolder(folder_.Path()));
  EXPECT_FALSE(IsFolder(file_) || IsFolder(loop_) || IsFolder(missing) || IsFolder(""));
  EXPECT_TRUE(PathExists(file_) && PathExists(sub_) && PathExists(fifo_));
  EXPECT_FALSE(PathExists(missing) || PathExists(loop_) || PathExists(""));
  EXPECT_TRUE(IdentityOf(link_).SameFile(IdentityOf(file_)));
  EXPECT_FALSE(IdentityOf(sub_).SameFile(IdentityOf(file_)));
  EXPECT_FALSE(IdentityOf(missing).SameFile(IdentityOf(missing)));
}

TEST_F(FileSystemTest, FolderEntriesLeaveOutDotAndDotDot) {
  std::vector<std::string> names = FolderEntries(folder_.Path()).value_or(std::vector<std::string>{"?"});
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"link.pb", "loop", "main.pb", "pipe.pbp", "sub"}));
  EXPECT_EQ(FolderEntries(sub_), std::vector<std::string>{});
  EXPECT_FALSE(FolderEntries(file_).has_value());
  EXPECT_FALSE(FolderEntries(loop_).has_value());
}

// A FIFO or a folder never opens and never blocks; a sparse gigabyte is refused by its
// size, not read.
TEST_F(FileSystemTest, BoundedReadTakesOnlyRegularFilesUpToTheLimit) {
  EXPECT_EQ(ReadBoundedFile(file_, 6), "x = 1\n");
  EXPECT_FALSE(ReadBoundedFile(file_, 5).has_value());
  EXPECT_FALSE(ReadBoundedFile(fifo_, 100).has_value());
  EXPECT_FALSE(ReadBoundedFile(sub_, 100).has_value());
  EXPECT_FALSE(ReadBoundedFile(loop_, 100).has_value());
  const std::string huge = folder_.Write("huge.pbp", "<project/>");
  ASSERT_EQ(::truncate(huge.c_str(), 1L << 30), 0);
  EXPECT_FALSE(ReadBoundedFile(huge, 16u << 20).has_value());
  ReadableFile opened;
  EXPECT_FALSE(opened.Open(fifo_));
  ASSERT_TRUE(opened.Open(file_));
  EXPECT_EQ(opened.PeekStart(3), "x =");
  opened.SkipStart(4);
  char rest[8] = {};
  EXPECT_EQ(opened.Read(rest, sizeof rest), 2u);
  EXPECT_EQ(std::string(rest, 2), "1\n");
}
