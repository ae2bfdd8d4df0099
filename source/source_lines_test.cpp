#include "source/source_lines.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

#include "source/source_reader.h"
#include "source/source_texts.h"
#include "source/testing/test_folder.h"

namespace {

std::vector<std::string> ReaderLines(const std::string& path) {
  std::vector<std::string> lines;
  SourceReader reader;
  EXPECT_TRUE(reader.Open(path)) << path;
  while (!reader.AtEnd()) lines.push_back(reader.ReadRawLine());
  return lines;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  for (SourceLines split(bytes); !split.AtEnd();) lines.emplace_back(split.NextRaw());
  return lines;
}

}  // namespace

// Files of every terminator, runs of them, lines longer than the reader's block and a CR LF
// across its block edge: read whole and split in memory, they give the reader's lines.
TEST(SourceLines, SplitTheBytesReadWholeAsTheLineReaderDoes) {
  TestFolder folder;
  std::mt19937 random(11);
  const std::string terminators[] = {"\n", "\r", "\r\n", std::string(1, '\0')};
  for (int file = 0; file < 40; ++file) {
    std::string input = file % 4 == 0 ? std::string(65535, 'x') + "\r\n" : "";
    const size_t lines = random() % 60;
    for (size_t line = 0; line < lines; ++line) {
      input += std::string(random() % 8 == 0 ? 70000 : random() % 6, random() % 2 ? ' ' : 'a');
      input += terminators[random() % 4];
    }
    if (random() % 2) input += "  last";
    const std::string path = folder.Write("f" + std::to_string(file) + ".pb", input);
    const std::shared_ptr<const std::string> bytes = SourceTexts().Bytes(path);
    ASSERT_NE(bytes, nullptr);
    ASSERT_EQ(*bytes, input);
    EXPECT_EQ(SplitLines(*bytes), ReaderLines(path)) << "file " << file;
  }
  EXPECT_EQ(SplitLines(""), std::vector<std::string>());
  EXPECT_EQ(SplitLines("a\r\r\n\nb"), (std::vector<std::string>{"a", "", "", "b"}));
  EXPECT_EQ(SourceLineOf("  \tx "), "\tx ");
}

// What the include scan saw is what the listing lists: a file changed between the two is
// not read again until the cache forgets, and bytes still held survive that.
TEST(SourceTexts, ReadsEachFileOnceUntilItForgets) {
  TestFolder folder;
  const std::string path = folder.Write("main.pb", "first\n");
  SourceTexts texts;
  const std::shared_ptr<const std::string> first = texts.Bytes(path);
  folder.Write("main.pb", "second\n");
  EXPECT_EQ(texts.Bytes(path), first);
  texts.Forget();
  EXPECT_EQ(*texts.Bytes(path), "second\n");
  EXPECT_EQ(*first, "first\n");
  EXPECT_EQ(texts.Bytes(folder.Path() + "missing.pb"), nullptr);
  EXPECT_EQ(texts.Bytes(folder.Path()), nullptr);  // a folder is no source file
  ASSERT_EQ(::mkfifo((folder.Path() + "pipe.pb").c_str(), 0600), 0);
  EXPECT_EQ(texts.Bytes(folder.Path() + "pipe.pb"), nullptr);
}
