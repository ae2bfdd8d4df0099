#include "source/path_parts.h"

#include <gtest/gtest.h>

TEST(PathParts, CutAtTheLastSlash) {
  struct Case {
    const char* path;
    const char* directory;
    const char* file_name;
  };
  const Case cases[] = {
      {"/home/me/project/main.pb", "/home/me/project/", "main.pb"},
      {"inc/util.pbi", "inc/", "util.pbi"},
      {"main.pb", "", "main.pb"},
      {"/main.pb", "/", "main.pb"},
      {"/opt/inc/", "/opt/inc/", ""},
      {"/opt/inc//b.pb", "/opt/inc//", "b.pb"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DirectoryPart(c.path), c.directory) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.file_name) << c.path;
  }
}

TEST(PathParts, RelativePathIsJoinedToTheDirectoryAsItStands) {
  EXPECT_EQ(AbsolutePath("/home/u", "p/main.pb"), "/home/u/p/main.pb");
  EXPECT_EQ(AbsolutePath("/home/u", "../main.pb"), "/home/u/../main.pb");
  EXPECT_EQ(AbsolutePath("/", "main.pb"), "//main.pb");
  EXPECT_EQ(AbsolutePath("/home/u", "/abs/main.pb"), "/abs/main.pb");
  EXPECT_EQ(AbsolutePath("/home/u", ""), "/home/u/");
}
