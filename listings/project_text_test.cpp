#include "listings/project_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listings/testing/listing_test_support.h"
#include "source/line_classification.h"

namespace {

using Texts = std::vector<std::string>;

/// A project of the files `names` (main file first) in a temporary folder.
SourceFileList FilesOf(const TestFolder& folder, const Texts& names) {
  SourceFileList files;
  for (const std::string& name : names) files.push_back({folder.Path() + name, "", 0});
  return files;
}

Texts SourceLines(const ProjectText& text) {
  Texts lines;
  for (size_t line = 0; line < text.LineCount(); ++line) {
    lines.emplace_back(text.SourceLine(line));
  }
  return lines;
}

}  // namespace

TEST(ProjectText, ReadsEveryFileOnceInListOrderAndKeepsFilesThatDoNotOpen) {
  TestFolder folder;
  folder.Write("main.pb", "  a\r\n\tb\rc\nd");
  folder.Write("b.pb", "e\n\nf\n");
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load(FilesOf(folder, {"main.pb", "missing.pb", "b.pb"}), SourceTexts(), host), ListingEnd::Finished);
  EXPECT_EQ(SourceLines(text), (Texts{"a", "\tb", "c", "d", "e", "", "f"}));
  EXPECT_EQ(host.Polls, 7);  // one per line read
  ASSERT_EQ(text.Files().size(), 3u);
  EXPECT_TRUE(text.Files()[0].Opened);
  EXPECT_FALSE(text.Files()[1].Opened);
  EXPECT_EQ(text.Files()[1].FileName, "missing.pb");
  EXPECT_EQ(text.Files()[1].LineCount, 0u);
  EXPECT_EQ(text.Files()[2].FirstLine, 4u);
  EXPECT_EQ(text.FileOf(3), 0u);
  EXPECT_EQ(text.FileOf(4), 2u);  // not the empty file that starts at the same id
  EXPECT_EQ(text.LineNumber(6), 3);
}

TEST(ProjectText, StopWhileReadingLeavesTheTextUnusable) {
  TestFolder folder;
  folder.Write("main.pb", "a\nb\nc\n");
  RecordingHost host;
  host.StopAtPoll = 2;
  ProjectText text;
  EXPECT_EQ(text.Load(FilesOf(folder, {"main.pb"}), SourceTexts(), host), ListingEnd::Stopped);
  EXPECT_EQ(host.Polls, 2);
}

TEST(ProjectText, CallKindIsTakenAfterTheKeyIndependentPreparation) {
  TestFolder folder;
  folder.Write("main.pb",
               "\t Procedure Foo()\n"   // tabs, then blanks removed: a head
               "; Procedure x\n"        // the comment cut leaves an empty line
               "\t \tProcedure x\n"     // a tab after the blanks stays: no head
               "  \tEndProcedure\n"
               "Procedure ;x\n");       // cut after the blank: still a head
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load(FilesOf(folder, {"main.pb"}), SourceTexts(), host), ListingEnd::Finished);
  EXPECT_EQ(text.CallKind(0), LineKind::Head);
  EXPECT_EQ(text.CallKind(1), LineKind::Other);
  EXPECT_EQ(text.CallKind(2), LineKind::Other);
  EXPECT_EQ(text.CallKind(3), LineKind::End);
  EXPECT_EQ(text.CallKind(4), LineKind::Head);
}

// The Declare mark is taken only from lines that pass the first-character filter: every
// mix of leading tabs and blanks must still reach the test.
TEST(ProjectText, DeclareMarkAgreesWithTheLineTestWhateverBlanksLead) {
  const Texts lines = {"Declare Foo()",  "\t \tDeclareC.i Foo()", " \t DeclareCDLL Foo()",
                       "Declared = 1",   "; Declare Foo()",       "x = 1 : Declare Foo()",
                       "\tDeclareDLL Foo()", "Procedure Foo()"};
  TestFolder folder;
  std::string main;
  for (const std::string& line : lines) main += line + "\n";
  folder.Write("main.pb", main);
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load(FilesOf(folder, {"main.pb"}), SourceTexts(), host), ListingEnd::Finished);
  ASSERT_EQ(text.LineCount(), lines.size());
  int declares = 0;
  for (size_t line = 0; line < lines.size(); ++line) {
    EXPECT_EQ(text.IsDeclare(line), IsDeclareLine(lines[line])) << lines[line];
    declares += text.IsDeclare(line) ? 1 : 0;
  }
  EXPECT_EQ(declares, 4);
}

TEST(ProjectText, LinesPastTheFirstChunkAreFoundWithTheirKindsAndFiles) {
  // Enough lines for three chunks (a chunk holds 128 Ki lines), the second file starting
  // inside the second chunk.
  constexpr size_t kFirst = 200000;
  constexpr size_t kSecond = 100000;
  std::string first;
  for (size_t line = 0; line < kFirst; ++line) {
    first += line % 2 ? "EndProcedure\n" : "x" + std::to_string(line) + "\n";
  }
  std::string second;
  for (size_t line = 0; line < kSecond; ++line) second += "Procedure p" + std::to_string(line) + "()\n";
  TestFolder folder;
  folder.Write("main.pb", first);
  folder.Write("b.pb", second);
  RecordingHost host;
  ProjectText text;
  ASSERT_EQ(text.Load(FilesOf(folder, {"main.pb", "b.pb"}), SourceTexts(), host), ListingEnd::Finished);
  ASSERT_EQ(text.LineCount(), kFirst + kSecond);
  for (const size_t line : {size_t{131071}, size_t{131072}, size_t{131073}, kFirst - 2, kFirst - 1}) {
    EXPECT_EQ(text.SourceLine(line), line % 2 ? "EndProcedure" : "x" + std::to_string(line)) << line;
    EXPECT_EQ(text.CallKind(line), line % 2 ? LineKind::End : LineKind::Other) << line;
    EXPECT_EQ(text.FileOf(line), 0u) << line;
  }
  for (const size_t line : {kFirst, size_t{262143}, size_t{262144}, kFirst + kSecond - 1}) {
    EXPECT_EQ(text.SourceLine(line), "Procedure p" + std::to_string(line - kFirst) + "()") << line;
    EXPECT_EQ(text.CallKind(line), LineKind::Head) << line;
    EXPECT_EQ(text.FileOf(line), 1u) << line;
  }
}
