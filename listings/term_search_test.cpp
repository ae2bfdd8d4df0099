#include "listings/term_search.h"

#include <gtest/gtest.h>

#include "listings/testing/listing_test_support.h"

using Texts = std::vector<std::string>;

namespace {

/// Opens a "Terms: " list for `term` and runs the term search in it.
ResultList& SearchTerm(TestProject& test, std::string_view term) {
  ResultList& list = test.history.OpenResultList(ListKind::Terms, term);
  ListTermMatches(test.project, list, test.host, {std::string(term)});
  return list;
}

}  // namespace

TEST(TermSearch, RowTextLosesTabsThenBlanksThenTabsAndCountsForHeadsAndComments) {
  // A leading blank stops the first tab pass, so a blank after the last tab stays.
  EXPECT_EQ(TermRowText(" \t x"), " x");
  EXPECT_EQ(TermRowText("\t x"), "x");
  EXPECT_EQ(TermRowText("\t \t x\t"), " x\t");
  TestProject test;
  test.Write("main.pb",
             "\t \tProcedure x(foo)\n"  // a head once its tabs and blanks are gone
             "\t;foo\n"                  // a comment once its tab is gone
             " \t foo\n"
             "  \t Procedure foo()\n");  // the kept blank stops it being a head
  test.TakeUp();
  const ResultList& list = SearchTerm(test, "foo");
  ASSERT_EQ(list.RowCount(), 4);
  EXPECT_EQ(TestProject::Cells(list, 1),
            (Texts{"1", "Procedure x(foo)", "", "     1 Procedure x(foo)", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 2),
            (Texts{"3", " foo", "", "     1 Procedure x(foo)", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 3),
            (Texts{"4", " Procedure foo()", "_()", "     1 Procedure x(foo)", "main.pb"}));
}

TEST(TermSearch, TakesTheListOverAndFillsRowsWithMarkerLabelAndFile) {
  TestProject test;
  test.Write("main.pb",
             "Global foo\n"
             "Procedure Add(foo)\n"
             "  Protected *foo = 0\n"
             "  x = \"foo\" ; foo\n"
             "  ProcedureReturn foo(1)\n"
             "EndProcedure\n"
             "Protected foo\n"
             "; foo\n");
  test.TakeUp();
  const ResultList& list = SearchTerm(test, "foo");
  EXPECT_EQ(list.Kind(), ListKind::Terms);
  EXPECT_EQ(list.Subject(), "foo");
  EXPECT_EQ(list.Caption(), "Terms: foo...");
  EXPECT_EQ(SelectorEntryText(list), "foo");
  ASSERT_EQ(list.RowCount(), 6);
  EXPECT_EQ(TestProject::Cells(list, 0), (Texts{"", "", "", "", ""}));
  EXPECT_EQ(TestProject::Cells(list, 1), (Texts{"1", "Global foo", "", "", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 2),
            (Texts{"2", "Procedure Add(foo)", "", "     2 Procedure Add(foo)", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 3),
            (Texts{"3", "Protected *foo = 0", "*", "     2 Procedure Add(foo)", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 4),
            (Texts{"5", "ProcedureReturn foo(1)", "_()", "     2 Procedure Add(foo)", "main.pb"}));
  EXPECT_EQ(TestProject::Cells(list, 5), (Texts{"7", "Protected foo", "", "", "main.pb"}));
}

TEST(TermSearch, DeclarationLinesAreMarkedInBothBands) {
  TestProject test;
  test.Write("main.pb",
             "XIncludeFile \"b.pb\"\n"
             "Global foo\n"
             "x = foo\n");
  test.Write("b.pb",
             "Procedure P()\n"
             "  Protected foo\n"
             "  y = foo\n"
             "EndProcedure\n"
             "Protected foo\n");
  test.TakeUp();
  const ResultList& list = SearchTerm(test, "foo");
  ASSERT_EQ(list.RowCount(), 7);
  EXPECT_EQ(list.Row(0).Marks, RowMarks(RowMark::Separator));
  EXPECT_EQ(list.Row(1).Marks, RowMark::FileBand | RowMark::Declaration);
  EXPECT_EQ(list.Row(2).Marks, RowMarks(RowMark::FileBand));
  EXPECT_EQ(list.Row(3).Marks, RowMarks(RowMark::Separator));
  EXPECT_EQ(list.Row(4).Marks, RowMarks(RowMark::Declaration));
  EXPECT_EQ(list.Row(5).Marks, RowMarks());
  EXPECT_EQ(list.Row(6).Marks, RowMarks());  // outside
}

TEST(TermSearch, BandSkipsFilesWithoutHits) {
  TestProject test;
  test.Write("main.pb", "XIncludeFile \"b.pb\"\nXIncludeFile \"c.pb\"\nfoo = 1\n");
  test.Write("b.pb", "bar = 1\n");
  test.Write("c.pb", "foo = 2\n");
  test.TakeUp();
  const ResultList& list = SearchTerm(test, "foo");
  EXPECT_EQ(TestProject::Column(list, ColumnFile), (Texts{"", "main.pb", "", "c.pb"}));
  EXPECT_EQ(list.Row(1).Marks, RowMarks(RowMark::FileBand));
  EXPECT_EQ(list.Row(3).Marks, RowMarks());
}

TEST(TermSearch, OtherLetterCaseOnlyIsMarked) {
  TestProject test;
  test.Write("main.pb", "x = Foo + 1\n");
  test.TakeUp();
  EXPECT_TRUE(SearchTerm(test, "foo").Row(1).Marks.Has(RowMark::OtherCase));
  EXPECT_FALSE(SearchTerm(test, "Foo").Row(1).Marks.Has(RowMark::OtherCase));
}

TEST(TermSearch, FileEndingInsideAProcedureLeavesTheNextFileInsideWithEmptyLabel) {
  TestProject test;
  test.Write("main.pb", "XIncludeFile \"b.pb\"\nProcedure P()\n");
  test.Write("b.pb", "Protected foo\n");
  test.TakeUp();
  const ResultList& list = SearchTerm(test, "foo");
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(1, ColumnFunction), "");
  EXPECT_EQ(list.Row(1).Marks, RowMark::FileBand | RowMark::Declaration);
}

TEST(TermSearch, EmptyTermFindsNothing) {
  TestProject test;
  test.Write("main.pb", "foo\n\n");
  test.TakeUp();
  const ResultList& list = SearchTerm(test, "");
  EXPECT_EQ(list.Caption(), "Terms: ...");
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
}

TEST(TermSearch, StopEndsTheRunKeepsRowsAndSwitchesStopOff) {
  TestProject test;
  test.Write("main.pb", "XIncludeFile \"b.pb\"\nfoo = 1\nfoo = 2\nfoo = 3\n");
  test.Write("b.pb", "foo = 4\n");
  test.TakeUp();
  // Stop once the separator and two matches of main.pb are listed: b.pb is not searched.
  test.host.StopWhen = [&test] { return test.history.Current()->RowCount() == 3; };
  const ResultList& list = SearchTerm(test, "foo");
  EXPECT_EQ(TestProject::Column(list, ColumnLine), (Texts{"", "2", "3"}));
  EXPECT_EQ(test.host.StopStates, (std::vector<bool>{true, false}));
}

// A row views its line in the file's bytes when the project holds them (as after a
// take-up), and copies it from the one reused buffer of files read afresh.
TEST(TermSearch, RowsViewTheLinesOfHeldFilesAndCopyTheOthers) {
  TestProject test;
  test.Write("main.pb", "a = foo\n");
  test.TakeUp();
  const auto bytes = test.project.Texts.HeldBytes(test.folder.Path() + "main.pb");
  ASSERT_NE(bytes, nullptr);
  const ResultList& held = SearchTerm(test, "foo");
  ASSERT_EQ(held.RowCount(), 2);  // the file's separator row, then the match
  EXPECT_EQ(held.CellText(1, ColumnCalls).data(), bytes->data());
  test.project.Texts.Forget();
  const ResultList& read = SearchTerm(test, "foo");
  ASSERT_EQ(read.RowCount(), 2);
  EXPECT_EQ(read.CellText(1, ColumnCalls), "a = foo");
  EXPECT_NE(read.CellText(1, ColumnCalls).data(), bytes->data());
}
