#include "source/source_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
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

// Asked at every byte that is no terminator, in order, a sparse walk gives each byte the
// line that the split gives it, with its number: also after runs of terminators and lines
// long enough to be counted sixteen bytes at a time.
TEST(SparseLines, GiveEachPositionTheLineAndNumberOfTheSplit) {
  std::mt19937 random(5);
  const std::string terminators[] = {"\n", "\r", "\r\n", std::string(1, '\0')};
  for (int file = 0; file < 200; ++file) {
    std::string bytes;
    for (size_t line = random() % 12; line > 0; --line) {
      bytes += std::string(random() % 4 == 0 ? 40 + random() % 40 : random() % 4, 'a');
      bytes += terminators[random() % 4];
    }
    if (random() % 2) bytes += "last";
    std::vector<LineSpan> expected;  // per byte
    size_t number = 0;
    for (SourceLines split(bytes); !split.AtEnd();) {
      const std::string_view line = split.NextRaw();
      const size_t start = static_cast<size_t>(line.data() - bytes.data());
      ++number;
      for (size_t at = start; at < start + line.size(); ++at) {
        expected.push_back({start, start + line.size(), number});
      }
    }
    SparseLines sparse(bytes);
    size_t byte = 0;
    for (size_t at = 0; at < bytes.size(); ++at) {
      if (bytes[at] == '\n' || bytes[at] == '\r' || bytes[at] == '\0') continue;
      if (random() % 3 == 0) continue;  // not every line is asked for
      while (expected[byte].End <= at || expected[byte].Start > at) ++byte;
      const LineSpan got = sparse.LineOf(at);
      ASSERT_EQ(std::make_tuple(got.Start, got.End, got.Number),
                std::make_tuple(expected[byte].Start, expected[byte].End, expected[byte].Number))
          << "file " << file << " at " << at;
    }
  }
}
