#include "source/source_texts.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "source/testing/test_folder.h"

// What the include scan saw is what the listing lists: a file changed between the two is
// not read again until the cache drops it; a run after `DropChanged` reads the changed
// files (also one of the same size, or one that did not open) and keeps the others.
TEST(SourceTexts, ReadsEachFileOnceUntilItChanges) {
  TestFolder folder;
  const std::string path = folder.Write("main.pb", "first\n");
  const std::string kept = folder.Write("kept.pb", "kept\n");
  const std::string later = folder.Path() + "later.pb";
  SourceTexts texts;
  const std::shared_ptr<const std::string> first = texts.Bytes(path);
  const std::shared_ptr<const std::string> unchanged = texts.Bytes(kept);
  EXPECT_EQ(texts.Bytes(later), nullptr);
  folder.Write("main.pb", "other\n");  // the same size
  const struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  folder.Write("later.pb", "later\n");
  EXPECT_EQ(texts.Bytes(path), first);
  EXPECT_TRUE(texts.DropChanged());
  EXPECT_FALSE(texts.DropChanged());
  EXPECT_EQ(*texts.Bytes(path), "other\n");
  EXPECT_EQ(texts.Bytes(kept), unchanged);
  EXPECT_EQ(*texts.Bytes(later), "later\n");
  EXPECT_EQ(*first, "first\n");
  texts.Forget();
  EXPECT_NE(texts.Bytes(kept), unchanged);
  EXPECT_EQ(texts.Bytes(folder.Path()), nullptr);  // a folder is no source file
  ASSERT_EQ(::mkfifo((folder.Path() + "pipe.pb").c_str(), 0600), 0);
  EXPECT_EQ(texts.Bytes(folder.Path() + "pipe.pb"), nullptr);
}

// `cp -p` and `touch -r` put the old modification time back on a file rewritten with the
// same size: only the change time tells that the bytes are others.
TEST(SourceTexts, FileRewrittenWithItsModificationTimeRestoredIsReadAgain) {
  TestFolder folder;
  const std::string path = folder.Write("main.pb", "before\n");
  struct stat first {};
  ASSERT_EQ(::stat(path.c_str(), &first), 0);
  SourceTexts texts;
  ASSERT_EQ(*texts.Bytes(path), "before\n");
  // The change time moves with the clock's own steps: rewrite until it shows another one.
  struct stat now {};
  for (int attempt = 0; attempt < 1000; ++attempt) {
    folder.Write("main.pb", "after!\n");
    const struct timespec times[2] = {first.st_atim, first.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    if (now.st_ctim.tv_sec != first.st_ctim.tv_sec || now.st_ctim.tv_nsec != first.st_ctim.tv_nsec) break;
    ::usleep(1000);
  }
  ASSERT_EQ(now.st_size, first.st_size);
  ASSERT_EQ(now.st_mtim.tv_nsec, first.st_mtim.tv_nsec);
  texts.DropChanged();
  EXPECT_EQ(*texts.Bytes(path), "after!\n");
}

// An open document is what the editor holds, also under another spelling of its path and
// across `DropChanged`/`Forget`; once closed, the disk's bytes count again.
TEST(SourceTexts, EditorBytesStandForTheFileUntilDropped) {
  TestFolder folder;
  const std::string path = folder.Write("main.pb", "disk\n");
  const std::string other_route = folder.Path() + "./main.pb";
  SourceTexts texts;
  ASSERT_EQ(*texts.Bytes(other_route), "disk\n");
  texts.SetEditorBytes(path, "edited\n");
  EXPECT_EQ(*texts.Bytes(path), "edited\n");
  EXPECT_EQ(*texts.Bytes(other_route), "edited\n");
  std::string buffer;
  EXPECT_EQ(*texts.HeldOrRead(other_route, buffer), "edited\n");
  EXPECT_EQ(*texts.HeldBytes(other_route), "edited\n");
  texts.DropChanged();
  texts.Forget();
  EXPECT_EQ(*texts.Bytes(path), "edited\n");
  texts.SetEditorBytes(folder.Path() + "unsaved.pb", "new\n");
  EXPECT_EQ(*texts.Bytes(folder.Path() + "unsaved.pb"), "new\n");
  EXPECT_EQ(texts.HeldBytes(folder.Path() + "kept.pb"), nullptr);  // not read: nothing held yet
  EXPECT_EQ(texts.Bytes(folder.Path() + "kept.pb"), nullptr);
  texts.DropEditorBytes(path);
  EXPECT_EQ(*texts.Bytes(path), "disk\n");
  EXPECT_EQ(*texts.Bytes(other_route), "disk\n");
}
