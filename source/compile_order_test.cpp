#include "source/compile_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "source/path_parts.h"
#include "source/testing/test_folder.h"

namespace {

// The spans as "file:first-last" ("end" for the rest of the file).
std::vector<std::string> Spans(const SourceFileList& files) {
  std::vector<std::string> texts;
  for (const CompileSpan& span : CompileOrder(files)) {
    const std::string last =
        span.LastLine == CompileSpan::ToFileEnd ? "end" : std::to_string(span.LastLine);
    texts.push_back(std::string(FileNamePart(files[span.Entry].Path)) + ":" +
                    std::to_string(span.FirstLine) + "-" + last);
  }
  return texts;
}

TEST(CompileOrder, ReadsEachIncludeWholeAtItsStatementDepthFirst) {
  // The file list is breadth first (main, a, b, c); the compiler reads c inside a.
  TestFolder folder;
  folder.Write("a.pb", "x\nIncludeFile \"c.pb\"\ny\n");
  folder.Write("b.pb", "b\n");
  folder.Write("c.pb", "c\n");
  const std::string main = folder.Write("main.pb", "IncludeFile \"a.pb\"\nz\nIncludeFile \"b.pb\"\n");
  EXPECT_EQ(Spans(ScanIncludes(main)),
            (std::vector<std::string>{"main.pb:1-1", "a.pb:1-2", "c.pb:1-end", "a.pb:3-end",
                                      "main.pb:2-3", "b.pb:1-end", "main.pb:4-end"}));
}

TEST(CompileOrder, XIncludeFileReadsAFileWhereTheCompilerMeetsItFirst) {
  // The scan lists x.pb as included by main (line 2); the compiler meets it first in a.pb
  // and skips main's XIncludeFile. IncludeFile reads a file again; a file including
  // itself is not read again.
  TestFolder folder;
  folder.Write("a.pb", "XIncludeFile \"x.pb\"\n");
  folder.Write("x.pb", "IncludeFile \"x.pb\"\n");
  folder.Write("y.pb", "y\n");
  const std::string main = folder.Write(
      "main.pb", "IncludeFile \"a.pb\"\nXIncludeFile \"x.pb\"\nIncludeFile \"y.pb\"\nIncludeFile \"y.pb\"\n");
  const SourceFileList files = ScanIncludes(main);
  EXPECT_EQ(Spans(files),
            (std::vector<std::string>{"main.pb:1-1", "a.pb:1-1", "x.pb:1-1", "x.pb:2-end",
                                      "a.pb:2-end", "main.pb:2-2", "main.pb:3-3", "y.pb:1-end",
                                      "main.pb:4-4", "y.pb:1-end", "main.pb:5-end"}));
}

TEST(CompileOrder, AMissingIncludeIsAnEmptyFileAndNoListHasNoSpans) {
  TestFolder folder;
  const std::string main = folder.Write("main.pb", "IncludeFile \"gone.pb\"\nz\n");
  EXPECT_EQ(Spans(ScanIncludes(main)),
            (std::vector<std::string>{"main.pb:1-1", "gone.pb:1-end", "main.pb:2-end"}));
  EXPECT_TRUE(CompileOrder({}).empty());
}

}  // namespace
