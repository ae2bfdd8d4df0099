#include "listings/result_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> TextsOf(const ResultRow& row) {
  return std::vector<std::string>(row.Cells.begin(), row.Cells.end());
}

}  // namespace


TEST(ResultList, CaptionIsKindSubjectAndThreeDots) {
  EXPECT_EQ(ResultList(ListKind::Procedures, "Procedures").Caption(), "Procedures...");
  EXPECT_EQ(ResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...").Caption(),
            "All Procedure-Calls......");
  EXPECT_EQ(ResultList(ListKind::ProcedureCalls, "Foo").Caption(), "Proc: Foo...");
  EXPECT_EQ(ResultList(ListKind::Terms, "foo").Caption(), "Terms: foo...");
}

TEST(ResultList, TakeOverChangesKindAndCaptionButKeepsSubjectRowsAndTheirKind) {
  ResultList list(ListKind::ProcedureCalls, "total((");
  list.AddResultRow("1\ntotal(x)");
  list.TakeOver(ListKind::Terms, " total");
  list.AddResultRow("2\ntotal = 1");
  EXPECT_EQ(list.Kind(), ListKind::Terms);
  EXPECT_EQ(list.Subject(), "total((");
  EXPECT_EQ(list.Caption(), "Terms:  total...");
  EXPECT_EQ(list.Row(0).WrittenFor, ListKind::ProcedureCalls);
  EXPECT_EQ(list.Row(1).WrittenFor, ListKind::Terms);
  EXPECT_EQ(SelectorEntryText(list), "total((");
}

TEST(ResultList, AddResultRowSplitsAtLineFeedsAndSelectsTheNewRow) {
  ResultList list(ListKind::Procedures, "Procedures");
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
  ResultList list(ListKind::Procedures, "x");
  list.AddResultRow("a");
  list.AddResultRow("");
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.SelectedRow(), 1);
  for (int column = 0; column < ResultColumns; ++column) EXPECT_EQ(list.CellText(1, column), "");
}

TEST(ResultList, UnselectedEmptyRowKeepsTheSelection) {
  ResultList list(ListKind::Procedures, "x");
  list.AddResultRow("a");
  list.AddUnselectedEmptyRow(RowMark::ClosingRow);
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.SelectedRow(), 0);
  EXPECT_EQ(list.Row(1).Marks, RowMarks(RowMark::ClosingRow));
}

TEST(ResultList, CellOperationsOnMissingRowsOrColumnsDoNothing) {
  ResultList list(ListKind::Procedures, "x");
  EXPECT_EQ(list.CellText(0, 0), "");
  EXPECT_EQ(list.CellText(-1, 0), "");
  list.SetCellText(0, 0, "lost");
  list.AddMarks(3, RowMark::OtherCase);
  EXPECT_EQ(list.RowCount(), 0);
  list.AddResultRow("a\nb");
  list.SetCellText(0, ResultColumns, "lost");
  list.SetCellText(0, -1, "lost");
  EXPECT_EQ(list.CellText(0, ResultColumns), "");
  EXPECT_EQ(TextsOf(list.Row(0)), (std::vector<std::string>{"a", "b", "", "", ""}));
}

TEST(ResultList, MarksAreGivenWithTheRowAndAddedLater) {
  ResultList list(ListKind::AllProcedureCalls, "x");
  list.AddResultRow("1\n2", RowMark::ProcedureRow);
  list.AddMarks(0, RowMark::NeverCalled);
  list.AddMarks(0, RowMark::NeverCalled);
  EXPECT_EQ(list.Row(0).Marks, RowMark::ProcedureRow | RowMark::NeverCalled);
  EXPECT_TRUE(list.Row(0).Marks.Has(RowMark::NeverCalled));
  EXPECT_FALSE(list.Row(0).Marks.Has(RowMark::CalledAboveHead));
  EXPECT_EQ(list.Row(0).WrittenFor, ListKind::AllProcedureCalls);
}

TEST(ResultList, SelectRowOutOfRangeSelectsNone) {
  ResultList list(ListKind::Procedures, "x");
  list.AddResultRow("a");
  list.AddResultRow("b");
  list.SelectRow(0);
  EXPECT_EQ(list.SelectedRow(), 0);
  list.SelectRow(2);
  EXPECT_EQ(list.SelectedRow(), -1);
}

TEST(ResultList, ChangesToMirroredRowsAreRecordedUntilMarkedAgain) {
  ResultList list(ListKind::Procedures, "x");
  list.AddResultRow("a");
  list.AddResultRow("b");
  list.MarkMirrored();
  EXPECT_EQ(list.MirroredRows(), 2);
  list.AddResultRow("c");
  list.SetCellText(2, ColumnCount, "new row, not yet mirrored");
  list.SetCellText(1, ColumnCount, "3");
  list.AddMarks(0, RowMark::CalledAboveHead);
  EXPECT_EQ(list.ChangedMirroredRows(), (std::vector<int32_t>{1, 0}));
  list.MarkMirrored();
  EXPECT_EQ(list.MirroredRows(), 3);
  EXPECT_TRUE(list.ChangedMirroredRows().empty());
}

TEST(ResultList, SelectorEntryCutsTheSubjectAtItsFirstParenthesis) {
  EXPECT_EQ(SelectorEntryText(ResultList(ListKind::Procedures, "Procedures")), "Procedures(");
  EXPECT_EQ(SelectorEntryText(ResultList(ListKind::ProcedureCalls, "Foo(a, b)")), "Foo(");
  EXPECT_EQ(SelectorEntryText(ResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...")),
            "All Procedure-Calls...(");
  EXPECT_EQ(SelectorEntryText(ResultList(ListKind::Terms, "Foo(")), "Foo(");
  EXPECT_EQ(SelectorEntryText(ResultList(ListKind::Terms, "Foo")), "Foo");
}

// Among many held texts, a cell is viewed exactly when one of them holds all of it: texts
// at random places of held and other texts, some running past a text's end.
TEST(ResultList, ViewsAreFoundAmongManyHeldTexts) {
  std::mt19937 random(31);
  std::vector<std::shared_ptr<const std::string>> held, other;
  for (int text = 0; text < 37; ++text) {
    held.push_back(std::make_shared<const std::string>(1 + random() % 200, 'h'));
    other.push_back(std::make_shared<const std::string>(1 + random() % 200, 'o'));
  }
  ResultList list(ListKind::AllProcedureCalls, "All");
  list.HoldBytes(held);
  for (int32_t row = 0; row < 2000; ++row) {
    const bool from_held = random() % 2 == 0;
    const std::string& bytes = *(from_held ? held : other)[random() % 37];
    const size_t start = random() % bytes.size();
    const size_t length = random() % (bytes.size() - start + 2);  // at most to the final NUL
    const std::string_view text(bytes.data() + start, length);
    list.AddResultRow({"1", text, "", "", "a.pb"}, {}, 0, RowCell(ColumnCalls));
    const bool viewed = list.CellText(row, ColumnCalls).data() == text.data();
    ASSERT_EQ(viewed, from_held && length > 0 && start + length <= bytes.size()) << row;
  }
}

// A cell asked to be viewed is viewed only where the list holds its bytes: a text
// elsewhere is copied. The held bytes outlive every other
// owner, and a changed cell of the row leaves the other views as they were.
TEST(ResultList, RowsViewOnlyTheBytesTheListHolds) {
  ResultList list(ListKind::AllProcedureCalls, "All");
  const std::string elsewhere = "Bar(2) ; not held";
  std::weak_ptr<const std::string> watched;
  {
    auto bytes = std::make_shared<const std::string>("Foo(1)\nBar(2)\n");
    watched = bytes;
    list.HoldBytes({bytes, nullptr, bytes});
    const std::string_view held(*bytes);
    list.AddResultRow({"1", held.substr(0, 6), "", "", "a.pb"}, {}, 0, RowCell(ColumnCalls));
    list.AddResultRow({"2", elsewhere, "", "", "a.pb"}, {}, 0, RowCell(ColumnCalls));
    EXPECT_EQ(list.CellText(0, ColumnCalls).data(), bytes->data());
  }
  ASSERT_FALSE(watched.expired());
  EXPECT_EQ(list.CellText(0, ColumnCalls), "Foo(1)");
  EXPECT_NE(list.CellText(1, ColumnCalls).data(), elsewhere.data());
  EXPECT_EQ(list.CellText(1, ColumnCalls), elsewhere);
  const char* const viewed = list.CellText(0, ColumnCalls).data();
  list.SetCellText(0, ColumnCount, "5");
  EXPECT_EQ(list.CellText(0, ColumnCalls).data(), viewed);
  EXPECT_EQ(TextsOf(list.Row(0)), (std::vector<std::string>{"1", "Foo(1)", "5", "", "a.pb"}));
}
