#include "source/source_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "source/testing/test_folder.h"

namespace {

struct Split {
  std::vector<std::string> lines;
  std::vector<std::string> terminators;
};

Split ReadAllRaw(const std::string& path) {
  Split split;
  SourceReader reader;
  EXPECT_TRUE(reader.Open(path)) << path;
  while (!reader.AtEnd()) {
    std::string terminator;
    split.lines.push_back(reader.ReadRawLine(&terminator));
    split.terminators.push_back(terminator);
  }
  return split;
}

std::vector<std::string> ReadAllSource(const std::string& path) {
  std::vector<std::string> lines;
  SourceReader reader;
  EXPECT_TRUE(reader.Open(path)) << path;
  while (!reader.AtEnd()) {
    lines.push_back(ReadSourceLine(reader));
  }
  return lines;
}

std::string Join(const Split& split) {
  std::string all;
  for (size_t i = 0; i < split.lines.size(); ++i) {
    all += split.lines[i] + split.terminators[i];
  }
  return all;
}

using Lines = std::vector<std::string>;

}  // namespace

TEST(SourceReader, SplitsAtEveryTerminatorKind) {
  TestFolder folder;
  struct Case {
    std::string input;
    Lines lines;
    Lines terminators;
  };
  const Case cases[] = {
      {"", {}, {}},
      {"a", {"a"}, {""}},
      {"a\n", {"a"}, {"\n"}},
      {"a\nb", {"a", "b"}, {"\n", ""}},
      {"a\rb\r", {"a", "b"}, {"\r", "\r"}},
      {"a\r\nb\r\n", {"a", "b"}, {"\r\n", "\r\n"}},
      {"a\n\rb", {"a", "", "b"}, {"\n", "\r", ""}},   // LF CR is two terminators
      {"a\r\r\nb", {"a", "", "b"}, {"\r", "\r\n", ""}},
      {"\n", {""}, {"\n"}},
      {"\r\n", {""}, {"\r\n"}},
      {"a\n\n", {"a", ""}, {"\n", "\n"}},
      {std::string("a\0b", 3), {"a", "b"}, {std::string(1, '\0'), ""}},
      {std::string("\0\0", 2), {"", ""}, {std::string(1, '\0'), std::string(1, '\0')}},
      // A UTF-8 byte-order mark belongs to no line at the very start, only there.
      {"\xEF\xBB\xBF; bom\n", {"; bom"}, {"\n"}},
      {"\xEF\xBB\xBF", {}, {}},
      {"\xEF\xBB\xBF\n", {""}, {"\n"}},
      {"a\n\xEF\xBB\xBF" "b", {"a", "\xEF\xBB\xBF" "b"}, {"\n", ""}},
      {"\xEF\xBB\xBF\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}, {""}},
      {" \xEF\xBB\xBFx", {" \xEF\xBB\xBFx"}, {""}},
      {"\xEF\xBBx", {"\xEF\xBBx"}, {""}},
      {"\xFF\xFEx", {"\xFF\xFEx"}, {""}},
  };
  for (const Case& c : cases) {
    const Split split = ReadAllRaw(folder.Write("case.pb", c.input));
    EXPECT_EQ(split.lines, c.lines);
    EXPECT_EQ(split.terminators, c.terminators);
  }
}

TEST(SourceReader, CrLfFilesYieldTheSameLinesAsLfAndCrFiles) {
  TestFolder folder;
  const Lines lf = ReadAllSource(folder.Write("lf.pb", "IncludeFile \"a.pb\"\n  x = 1\n\n\tEnd\n"));
  const Lines cr = ReadAllSource(folder.Write("cr.pb", "IncludeFile \"a.pb\"\r  x = 1\r\r\tEnd\r"));
  const Lines crlf =
      ReadAllSource(folder.Write("crlf.pb", "IncludeFile \"a.pb\"\r\n  x = 1\r\n\r\n\tEnd\r\n"));
  EXPECT_EQ(lf, (Lines{"IncludeFile \"a.pb\"", "x = 1", "", "\tEnd"}));
  EXPECT_EQ(cr, lf);
  EXPECT_EQ(crlf, lf);
}

TEST(SourceReader, SourceLineLosesLeadingBlanksButKeepsTabs) {
  TestFolder folder;
  const Lines lines = ReadAllSource(folder.Write("m.pb", "   a  \n\t b\n \t c\n    \n"));
  EXPECT_EQ(lines, (Lines{"a  ", "\t b", "\t c", ""}));
}

TEST(SourceReader, CrLfSplitAcrossTwoBlocksCountsOnce) {
  TestFolder folder;
  for (const size_t cr_at : {size_t{65535}, size_t{65536}, size_t{131071}}) {
    std::string input(cr_at, 'x');
    input += "\r\nnext";
    const Split split = ReadAllRaw(folder.Write("m.pb", input));
    ASSERT_EQ(split.lines.size(), 2u) << cr_at;
    EXPECT_EQ(split.lines[0].size(), cr_at);
    EXPECT_EQ(split.terminators[0], "\r\n");
    EXPECT_EQ(split.lines[1], "next");
  }
}

TEST(SourceReader, LinesAndTerminatorsGiveBackTheInput) {
  TestFolder folder;
  std::mt19937 random(20261207);
  const char alphabet[] = {'a', ' ', '\t', '\r', '\n', '\0', ';', '\xff'};
  for (int round = 0; round < 4; ++round) {
    std::string input(200000 + static_cast<size_t>(round) * 7, 'a');
    for (char& c : input) {
      c = alphabet[random() % sizeof alphabet];
    }
    EXPECT_EQ(Join(ReadAllRaw(folder.Write("m.pb", input))), input);
  }
}

// One buffer for every line, or a view into the reader's block, must give each line
// alone: a short line after a long one keeps nothing of it, also where lines and CR LF
// pairs cross the reader's blocks (the input starts with a short line whose CR is the
// last byte of the first block).
TEST(SourceReader, OneReusedBufferReadsTheSameLinesAsFreshStrings) {
  TestFolder folder;
  std::mt19937 random(7);
  std::string input(65529, 'x');
  input += "\nshort\r\nnext\n";
  while (input.size() < 300000) {
    input += std::string(random() % 3 == 0 ? 70000 + random() % 5 : random() % 40, ' ');
    input += "a\t";
    const std::string terminators[] = {"\n", "\r", "\r\n", std::string(1, '\0')};
    input += terminators[random() % 4];
  }
  const std::string path = folder.Write("m.pb", input);
  const Split fresh = ReadAllRaw(path);
  ASSERT_EQ(fresh.lines[1], "short");
  SourceReader raw;
  SourceReader trimmed;
  ASSERT_TRUE(raw.Open(path));
  ASSERT_TRUE(trimmed.Open(path));
  std::string buffer;
  std::string trimmed_buffer;
  for (size_t line = 0; line < fresh.lines.size(); ++line) {
    std::string terminator;
    raw.ReadRawLineInto(buffer, &terminator);
    ASSERT_EQ(buffer, fresh.lines[line]) << line;
    EXPECT_EQ(terminator, fresh.terminators[line]) << line;
    const std::string_view source_line = ReadSourceLineInto(trimmed, trimmed_buffer);
    EXPECT_EQ(source_line, fresh.lines[line].substr(fresh.lines[line].find_first_not_of(' ')));
  }
  EXPECT_TRUE(raw.AtEnd());
  EXPECT_TRUE(trimmed.AtEnd());
}

TEST(SourceReader, OnlyRegularFilesOpen) {
  TestFolder folder;
  SourceReader reader;
  EXPECT_FALSE(reader.Open(folder.Path()));                     // a directory
  EXPECT_FALSE(reader.Open(folder.Path() + "missing.pb"));
  EXPECT_FALSE(reader.Open("/dev/zero"));                       // a device never ends
  const std::string fifo = folder.Path() + "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(reader.Open(fifo));                              // must not wait for a writer
  const std::string dangling = folder.Path() + "dangling.pb";
  ASSERT_EQ(::symlink((folder.Path() + "nowhere.pb").c_str(), dangling.c_str()), 0);
  EXPECT_FALSE(reader.Open(dangling));
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(reader.ReadRawLine(), "");
}

TEST(SourceReader, UnreadableFileDoesNotOpen) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root reads files whatever their mode";
  }
  TestFolder folder;
  const std::string path = folder.Write("secret.pb", "x\n");
  ASSERT_EQ(::chmod(path.c_str(), 0), 0);
  SourceReader reader;
  EXPECT_FALSE(reader.Open(path));
}

TEST(SourceReader, ReopeningClosesTheFirstFile) {
  TestFolder folder;
  SourceReader reader;
  ASSERT_TRUE(reader.Open(folder.Write("a.pb", "a1\na2\n")));
  EXPECT_EQ(reader.ReadRawLine(), "a1");
  ASSERT_TRUE(reader.Open(folder.Write("b.pb", "b1\n")));
  EXPECT_EQ(reader.ReadRawLine(), "b1");
  EXPECT_TRUE(reader.AtEnd());
  reader.Close();
  reader.Close();
  EXPECT_TRUE(reader.AtEnd());
}

TEST(SourceReader, HundredMegabyteLineIsReadWhole) {
  TestFolder folder;
  const size_t size = 100u * 1024 * 1024;
  const std::string path = folder.Write("big.pb", std::string(size, 'a'));
  SourceReader reader;
  ASSERT_TRUE(reader.Open(path));
  std::string terminator = "unset";
  const std::string line = reader.ReadRawLine(&terminator);
  EXPECT_EQ(line.size(), size);
  EXPECT_EQ(terminator, "");
  // The line grows toward the file's size and no further.
  EXPECT_LE(line.capacity(), size + 64 * 1024);
  EXPECT_TRUE(reader.AtEnd());
}

TEST(LineNumbers, CountUpAndStayAtTheLargest32BitValue) {
  EXPECT_EQ(NextLineNumber(1), 2);
  EXPECT_EQ(NextLineNumber(std::numeric_limits<int32_t>::max() - 1),
            std::numeric_limits<int32_t>::max());
  EXPECT_EQ(NextLineNumber(std::numeric_limits<int32_t>::max()),
            std::numeric_limits<int32_t>::max());
}
