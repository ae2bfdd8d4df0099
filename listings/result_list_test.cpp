#include "listings/result_list.h"

#include <gtest/gtest.h>

#include "listings/row_colours.h"

TEST(ResultList, CaptionIsKindSubjectAndThreeDots) {
  EXPECT_EQ(ResultList("", "All Procedure-Calls...").Caption, "All Procedure-Calls......");
  EXPECT_EQ(ResultList("Proc: ", "Foo").Caption, "Proc: Foo...");
}

TEST(ResultList, AddResultRowSplitsAtLineFeedsAndSelectsTheNewRow) {
  ResultList list("", "Procedures");
  list.AddResultRow("12\nFoo()");
  list.AddResultRow("1\n2\n3\n4\n5\nsixth part has no column");
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.CellText(0, ColumnLine), "12");
  EXPECT_EQ(list.CellText(0, ColumnCalls), "Foo()");
  EXPECT_EQ(list.CellText(0, ColumnCount), "");
  EXPECT_EQ(list.CellText(0, ColumnFile), "");
  EXPECT_EQ(list.CellText(1, ColumnFile), "5");
  EXPECT_EQ(list.SelectedRow(), 1);
}

TEST(ResultList, EmptyRowTextAddsAnEmptySelectedRow) {
  ResultList list("", "x");
  list.AddResultRow("a");
  list.AddResultRow("");
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.SelectedRow(), 1);
  for (int column = 0; column < ResultColumns; ++column) EXPECT_EQ(list.CellText(1, column), "");
}

TEST(ResultList, UnselectedEmptyRowKeepsTheSelection) {
  ResultList list("", "x");
  list.AddResultRow("a");
  list.AddUnselectedEmptyRow();
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.SelectedRow(), 0);
}

TEST(ResultList, CellOperationsOnMissingRowsOrColumnsDoNothing) {
  ResultList list("", "x");
  EXPECT_EQ(list.CellText(0, 0), "");
  EXPECT_EQ(list.CellText(-1, 0), "");
  list.SetCellText(0, 0, "lost");
  list.SetRowBackground(3, MarkRed);
  EXPECT_EQ(list.RowCount(), 0);
  list.AddResultRow("a\nb");
  list.SetCellText(0, ResultColumns, "lost");
  list.SetCellTextColour(0, -1, MarkRed);
  EXPECT_EQ(list.CellText(0, ResultColumns), "");
  for (const ResultCell& cell : list.Row(0).Cells) EXPECT_FALSE(cell.TextColour.has_value());
}

TEST(ResultList, CellColoursAreSetPerCellOrPerRow) {
  ResultList list("", "x");
  list.AddResultRow("1\n2");
  list.SetRowBackground(0, ProcedureRowBackground);
  list.SetCellBackground(0, ColumnLine, MarkRed);
  list.SetCellTextColour(0, ColumnCalls, MarkRed);
  const ResultRow& row = list.Row(0);
  EXPECT_EQ(row.Cells[ColumnLine].Background, MarkRed);
  EXPECT_EQ(row.Cells[ColumnFile].Background, ProcedureRowBackground);
  EXPECT_EQ(row.Cells[ColumnCalls].TextColour, MarkRed);
  EXPECT_FALSE(row.Cells[ColumnLine].TextColour.has_value());
}

TEST(ResultList, SelectRowOutOfRangeSelectsNone) {
  ResultList list("", "x");
  list.AddResultRow("a");
  list.AddResultRow("b");
  list.SelectRow(0);
  EXPECT_EQ(list.SelectedRow(), 0);
  list.SelectRow(2);
  EXPECT_EQ(list.SelectedRow(), -1);
}

TEST(ResultList, ChangesToMirroredRowsAreRecordedUntilMarkedAgain) {
  ResultList list("", "x");
  list.AddResultRow("a");
  list.AddResultRow("b");
  list.MarkMirrored();
  EXPECT_EQ(list.MirroredRows(), 2);
  list.AddResultRow("c");
  list.SetCellText(2, ColumnCount, "new row, not yet mirrored");
  list.SetCellText(1, ColumnCount, "3");
  list.SetCellBackground(0, ColumnLine, MarkRed);
  EXPECT_EQ(list.ChangedMirroredRows(), (std::vector<int32_t>{1, 0}));
  list.MarkMirrored();
  EXPECT_EQ(list.MirroredRows(), 3);
  EXPECT_TRUE(list.ChangedMirroredRows().empty());
}

TEST(ResultList, SelectorEntryCutsTheSubjectAtItsFirstParenthesis) {
  EXPECT_EQ(SelectorEntryText(ResultList("", "Procedures")), "Procedures(");
  EXPECT_EQ(SelectorEntryText(ResultList("Proc: ", "Foo(a, b)")), "Foo(");
  EXPECT_EQ(SelectorEntryText(ResultList("", "All Procedure-Calls...")), "All Procedure-Calls...(");
  EXPECT_EQ(SelectorEntryText(ResultList("Terms: ", "Foo(")), "Foo(");
  EXPECT_EQ(SelectorEntryText(ResultList("Terms: ", "Foo")), "Foo");
}
