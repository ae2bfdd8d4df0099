#include "source/path_on_disk.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "source/testing/test_folder.h"

namespace {

std::string Found(const std::string& path, PathKind kind = PathKind::File) {
  FolderListings listings;
  return FindOnDisk(path, kind, listings).value_or("(nothing)");
}

}  // namespace

TEST(PathOnDisk, AsWrittenElseWithSlashesElseByLetterCaseElseNothing) {
  TestFolder folder;
  const std::string root = folder.Path();
  folder.MakeFolder("Modules");
  folder.Write("Modules/VECTORf.pb", "");
  folder.Write("Modules\\VECTORf.pb", "");  // a Linux name that holds a backslash
  folder.Write("Modules/Bit.pb", "");
  EXPECT_EQ(Found(root + "Modules\\VECTORf.pb"), root + "Modules\\VECTORf.pb");
  EXPECT_EQ(Found(root + "Modules\\Bit.pb"), root + "Modules/Bit.pb");
  EXPECT_EQ(Found(root + "modules\\bit.PB"), root + "Modules/Bit.pb");
  EXPECT_EQ(Found(root + "Modules"), "(nothing)");  // a folder is no file
  EXPECT_EQ(Found(root + "MODULES/", PathKind::Folder), root + "Modules/");
  EXPECT_EQ(Found(root + "Modules/Bit.pb", PathKind::Folder), "(nothing)");
  EXPECT_EQ(Found(root + "Modules\\Gone.pb"), "(nothing)");
  FolderListings listings;
  EXPECT_EQ(PathOnDisk(root + "Modules\\Gone.pb", PathKind::File, listings), root + "Modules\\Gone.pb");
}

// The first match in byte order is taken, and a dead end there is not left for another.
TEST(PathOnDisk, FirstMatchInByteOrderAndNoGoingBack) {
  TestFolder folder;
  const std::string root = folder.Path();
  for (const char* name : {"Lib", "lib", "LIB"}) folder.MakeFolder(name);
  folder.Write("lib/x.pb", "");
  folder.Write("LIB/Same.pb", "");
  folder.Write("LIB/same.pb", "");
  EXPECT_EQ(Found(root + "lIB\\SAME.PB"), root + "LIB/Same.pb");
  EXPECT_EQ(Found(root + "lIb/x.pb"), "(nothing)");  // LIB is first, and holds no x.pb
}

// ".." stays as written; a name matched in a symbolic link loop leads nowhere. (Loops and
// paths of 10,000 components through the whole scan: listings/hostile_projects_test.cpp.)
TEST(PathOnDisk, DotDotStaysAndLoopsLeadNowhere) {
  TestFolder folder;
  const std::string root = folder.Path();
  folder.MakeFolder("sub");
  folder.MakeFolder("Shared");
  folder.Write("Shared/C.pb", "");
  EXPECT_EQ(Found(root + "sub\\..\\shared\\c.pb"), root + "sub/../Shared/C.pb");
  ASSERT_EQ(::symlink("loop", (root + "loop").c_str()), 0);
  EXPECT_EQ(Found(root + "LOOP/x.pb"), "(nothing)");
}

// Each folder is read once per listings object: an entry made after the first look-up is
// not seen by the same run, only by the next.
TEST(PathOnDisk, EachFolderIsReadOncePerRun) {
  TestFolder folder;
  const std::string root = folder.Path();
  folder.Write("First.pb", "");
  FolderListings run;
  EXPECT_EQ(FindOnDisk(root + "FIRST.pb", PathKind::File, run), root + "First.pb");
  folder.Write("Later.pb", "");
  EXPECT_FALSE(FindOnDisk(root + "LATER.pb", PathKind::File, run).has_value());
  FolderListings next_run;
  EXPECT_EQ(FindOnDisk(root + "LATER.pb", PathKind::File, next_run), root + "Later.pb");
}

TEST(PathOnDisk, HundredThousandEntriesAreMatchedFromOneListing) {
  TestFolder folder(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
  const std::string big = folder.MakeFolder("Big");
  for (int entry = 0; entry < 100000; ++entry) {
    const int fd = ::open((big + "File" + std::to_string(entry) + ".pb").c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ::close(fd);
  }
  FolderListings listings;
  for (int entry = 0; entry < 100000; entry += 997) {
    const std::string name = "FILE" + std::to_string(entry) + ".PB";
    EXPECT_EQ(FindOnDisk(big + name, PathKind::File, listings), big + "File" + std::to_string(entry) + ".pb");
  }
  EXPECT_FALSE(FindOnDisk(big + "file100000.pb", PathKind::File, listings).has_value());
}
