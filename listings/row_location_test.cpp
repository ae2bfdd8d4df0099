#include "listings/row_location.h"

#include <gtest/gtest.h>

namespace {

TEST(RowFileName, TakesTheFileNamePartOfTheCell) {
  EXPECT_EQ(RowFileName("main.pb"), "main.pb");
  EXPECT_EQ(RowFileName("/home/u/p/inc/tools.pbi"), "tools.pbi");
  EXPECT_EQ(RowFileName(""), "");
}

TEST(RowFileName, LeadingDoubleQuoteEndsTheNameAtTheNextQuote) {
  EXPECT_EQ(RowFileName("\"tools.pbi\" line 12"), "tools.pbi");
  EXPECT_EQ(RowFileName("\"dir/sub/tools.pbi\"x/y"), "tools.pbi");
  EXPECT_EQ(RowFileName("\"tools.pbi"), "tools.pbi");
  EXPECT_EQ(RowFileName("\""), "");
  EXPECT_EQ(RowFileName("\"\"main.pb"), "");
}

TEST(RowLineNumber, ReadsTheLeadingDigits) {
  EXPECT_EQ(RowLineNumber("120"), 120);
  EXPECT_EQ(RowLineNumber("007"), 7);
  EXPECT_EQ(RowLineNumber("42abc"), 42);
  EXPECT_EQ(RowLineNumber(""), 0);
  EXPECT_EQ(RowLineNumber("abc"), 0);
  EXPECT_EQ(RowLineNumber("-5"), 0);
}

TEST(RowLineNumber, SkipsTheBlanksOfRightAlignedNumbers) {
  EXPECT_EQ(RowLineNumber("    12"), 12);
  EXPECT_EQ(RowLineNumber("      "), 0);
}

TEST(RowLineNumber, NumbersBeyondTheRangeGiveTheLargestLine) {
  EXPECT_EQ(RowLineNumber("2147483647"), 2147483647);
  EXPECT_EQ(RowLineNumber("2147483648"), 2147483647);
  EXPECT_EQ(RowLineNumber("99999999999999999999999999"), 2147483647);
}

SourceFileList ProjectFiles() {
  return {{"/home/u/p/main.pb", "", 0},
          {"/home/u/p/inc/tools.pbi", "main.pb", 3},
          {"/home/u/p/other/Tools.pbi", "main.pb", 4}};
}

TEST(FindRowFile, MatchesTheFileNamePartIgnoringLetterCase) {
  const SourceFileList files = ProjectFiles();
  EXPECT_EQ(FindRowFile(files, "main.pb"), &files[0]);
  EXPECT_EQ(FindRowFile(files, "Main.PB"), &files[0]);
}

TEST(FindRowFile, FirstOfTwoEqualNamesWins) {
  const SourceFileList files = ProjectFiles();
  EXPECT_EQ(FindRowFile(files, "TOOLS.PBI"), &files[1]);
}

TEST(FindRowFile, EmptyUnknownOrPartialNamesFindNothing) {
  const SourceFileList files = ProjectFiles();
  EXPECT_EQ(FindRowFile(files, ""), nullptr);
  EXPECT_EQ(FindRowFile(files, "nothere.pb"), nullptr);
  EXPECT_EQ(FindRowFile(files, "main"), nullptr);
  EXPECT_EQ(FindRowFile(files, "p/main.pb"), nullptr);
  EXPECT_EQ(FindRowFile({}, "main.pb"), nullptr);
}

TEST(LocateRow, GivesTheFileAndLineOfARowAndNoFileForSeparatorsOrNoRow) {
  const SourceFileList files = ProjectFiles();
  ResultList list(ListKind::Procedures, "Procedures");
  list.AddResultRow("     3\n\n\nProcedure A()\nTools.pbi");
  list.AddResultRow("");
  list.AddResultRow("9\nx = A()\n\n\nelse.pb");
  const RowLocation head = LocateRow(list, 0, files);
  EXPECT_EQ(head.File, &files[1]);
  EXPECT_EQ(head.Line, 3);
  EXPECT_EQ(LocateRow(list, 1, files).File, nullptr);
  EXPECT_EQ(LocateRow(list, 2, files).File, nullptr);
  EXPECT_EQ(LocateRow(list, -1, files).File, nullptr);
  EXPECT_EQ(LocateRow(list, 3, files).File, nullptr);
}

TEST(LocateRow, ARowGoesToItsOwnFileUnlessTheListOfFilesHasChangedUnderIt) {
  const SourceFileList files = ProjectFiles();
  ResultList list(ListKind::Procedures, "Procedures");
  list.AddResultRow("4\nx = A()\n\n\ntools.pbi", {}, 2);   // the second tools.pbi
  list.AddResultRow("4\nx = A()\n\n\nmain.pb", {}, 2);     // entry 2 is no main.pb now
  list.AddResultRow("4\nx = A()\n\n\ntools.pbi", {}, 99);  // beyond the list
  EXPECT_EQ(LocateRow(list, 0, files).File, &files[2]);
  EXPECT_EQ(LocateRow(list, 1, files).File, &files[0]);
  EXPECT_EQ(LocateRow(list, 2, files).File, &files[1]);
}

}  // namespace
