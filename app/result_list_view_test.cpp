// The view over the list: every row of the list at each sync, with the newest row selected
// and in view, every text and colour of the list shown, and changed rows drawn again.
#include "app/result_list_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/gtk_test_support.h"
#include "frontend/display_text.h"
#include "listings/row_colours.h"

namespace {

constexpr int32_t kRows = 3000;

// Rows with ISO-8859-15 and UTF-8 texts and marks that colour some cells' text, some
// rows' background and some single cells' background.
void FillList(ResultList& list) {
  for (int32_t row = 0; row < kRows; ++row) {
    const std::string number = std::to_string(row);
    RowMarks marks;
    if (row % 7 == 0) marks |= RowMark::OtherCase;
    if (row % 5 == 0) marks |= RowMark::ProcedureRow;
    if (row % 10 == 0) marks |= RowMark::NeverCalled;
    if (row % 15 == 0) marks |= RowMark::CalledAboveHead;
    list.AddResultRow(number + "\nCall" + number + "(\xE4)\n" + number + "\n  F\xC3\xBCr\nfile" +
                          number + ".pb",
                      marks);
  }
}

std::string Colour(const std::optional<Rgb>& colour) {
  if (!colour) return "(none)";
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour->Red, colour->Green, colour->Blue);
  return text;
}

int32_t StoredRows(const ResultListView& view) {
  return gtk_tree_model_iter_n_children(gtk_tree_view_get_model(view.ListView()), nullptr);
}

// Every row of the view against the model, as the cells show them when drawn: texts as
// displayed, colours as "#rrggbb". One renderer draws a column's cells one after another,
// so a colour left over from the row before would show here.
void ExpectViewEqualsModel(const ResultListView& view, const ResultList& list) {
  ASSERT_EQ(StoredRows(view), list.RowCount());
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    for (int column = 0; column < ResultColumns; ++column) {
      const ResultRow& model_row = list.Row(row);
      const CellColours colours = MarkColours(model_row.WrittenFor, model_row.Marks, column);
      SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
      const gtk_test::ShownCell shown = gtk_test::CellShown(view.ListView(), row, column);
      ASSERT_EQ(shown.Text, ToDisplayText(model_row.Cells[static_cast<size_t>(column)]));
      ASSERT_EQ(shown.Foreground, Colour(colours.Text));
      ASSERT_EQ(shown.Background, Colour(colours.Background));
    }
  }
}

int32_t SelectedInView(const ResultListView& view) {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view.ListView()), &model,
                                       &iter)) {
    return -1;
  }
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  const int32_t row = gtk_tree_path_get_indices(path)[0];
  gtk_tree_path_free(path);
  return row;
}

using ResultListViewSync = gtk_test::DetachedViewTest;

TEST_F(ResultListViewSync, EverySyncTakesEveryRowAndEndsEqualToTheModel) {
  ResultList list(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  ResultListView view(list, Area(), 1000, 610, font_);
  FillList(list);
  view.Sync();
  EXPECT_EQ(StoredRows(view), kRows);
  EXPECT_EQ(SelectedInView(view), kRows - 1);
  // Changes to shown rows reach the view; so do rows and a selection added later.
  list.SetCellText(0, ColumnFunction, "   14 Procedure Foo()");
  list.AddMarks(kRows - 2, RowMark::CalledAboveHead);
  list.AddResultRow("1\nLate()");
  list.AddUnselectedEmptyRow(RowMark::ClosingRow);
  view.Sync();
  EXPECT_EQ(StoredRows(view), kRows + 2);
  EXPECT_EQ(SelectedInView(view), kRows);  // the closing row is not selected
  ExpectViewEqualsModel(view, list);
}

void CountInsertedRow(GtkTreeModel*, GtkTreePath*, GtkTreeIter*, gpointer inserted) {
  ++*static_cast<int32_t*>(inserted);
}

// A backlog at least as long as the rows the view holds (and a few thousand rows) reaches
// the tree view by attaching its model anew, without one announcement per row; a short
// one is announced row by row. Either way the view then equals the list, newest selected.
TEST_F(ResultListViewSync, ALongBacklogComesInOneStepAndAShortOneRowByRow) {
  ResultList list(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  ResultListView view(list, Area(), 1000, 610, font_);
  FillList(list);
  view.Sync();
  int32_t inserted = 0;
  g_signal_connect(gtk_tree_view_get_model(view.ListView()), "row-inserted",
                   G_CALLBACK(CountInsertedRow), &inserted);
  for (int32_t row = 0; row < 2 * kRows; ++row) list.AddResultRow(std::to_string(row) + "\nMore()");
  view.Sync();
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(StoredRows(view), 3 * kRows);
  EXPECT_EQ(SelectedInView(view), 3 * kRows - 1);
  for (int32_t row = 0; row < 100; ++row) list.AddResultRow(std::to_string(row) + "\nLate()");
  view.Sync();
  EXPECT_EQ(inserted, 100);
  EXPECT_EQ(SelectedInView(view), 3 * kRows + 99);
  ExpectViewEqualsModel(view, list);
}

void NoteChangedRow(GtkTreeModel*, GtkTreePath* path, GtkTreeIter*, gpointer changed) {
  static_cast<std::vector<int32_t>*>(changed)->push_back(gtk_tree_path_get_indices(path)[0]);
}

using ResultListViewRedraw = gtk_test::DetachedViewTest;

// The view holds no copy of a row: a changed row in the view is only drawn again, and then
// shows the model as it is; rows not yet taken need nothing.
TEST_F(ResultListViewRedraw, OnlyChangedRowsInTheViewAreDrawnAgainAndShowTheChange) {
  ResultList list(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  ResultListView view(list, Area(), 1000, 610, font_);
  for (const char* row : {"1\nA()", "2\nB()", "3\nC()"}) list.AddResultRow(row);
  view.Sync();
  std::vector<int32_t> changed;
  g_signal_connect(gtk_tree_view_get_model(view.ListView()), "row-changed",
                   G_CALLBACK(NoteChangedRow), &changed);
  list.SetCellText(1, ColumnCount, "7");
  list.AddMarks(2, RowMark::ProcedureRow);
  list.AddResultRow("4\nD()");
  list.AddMarks(3, RowMark::OtherCase);  // not in the view yet
  view.Sync();
  std::sort(changed.begin(), changed.end());
  EXPECT_EQ(changed, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(gtk_test::CellShown(view.ListView(), 1, ColumnCount).Text, "7");
  EXPECT_EQ(gtk_test::CellShown(view.ListView(), 2, ColumnFile).Background, "#dcdcdc");
  EXPECT_EQ(gtk_test::CellShown(view.ListView(), 3, ColumnCalls).Foreground, "#dc0000");
  changed.clear();
  view.Sync();
  EXPECT_TRUE(changed.empty());
  ExpectViewEqualsModel(view, list);
}

// Whether `row` of the tree view is within its visible part.
bool RowInView(GtkTreeView* list_view, int32_t row) {
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  if (!gtk_tree_view_get_visible_range(list_view, &first, &last)) return false;
  const bool in_view = gtk_tree_path_get_indices(first)[0] <= row &&
                       row <= gtk_tree_path_get_indices(last)[0];
  gtk_tree_path_free(first);
  gtk_tree_path_free(last);
  return in_view;
}

// The first row within the visible part of the tree view, -1 when none.
int32_t TopRow(GtkTreeView* list_view) {
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  if (!gtk_tree_view_get_visible_range(list_view, &first, &last)) return -1;
  const int32_t top = gtk_tree_path_get_indices(first)[0];
  gtk_tree_path_free(first);
  gtk_tree_path_free(last);
  return top;
}

using ListingFollows = gtk_test::WindowTest;

// A stand-in listing that writes rows, polling after each, until the window has worked
// five times (or 60 s have passed, so that a loaded machine still gets its five): whenever it works, its view holds every row written so
// far, the newest selected and in view.
TEST_F(ListingFollows, EveryPollShowsEveryRowWithTheNewestSelectedAndInView) {
  ResultLists& lists = window_->Lists();
  ResultList& list = lists.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  lists.RefreshListSelector();
  gtk_test::Pump();
  ResultListView& view = *lists.ViewOf(list);
  int polls = 0;
  int32_t last_seen = 0;
  window_->RunListing([&] {
    const gint64 end = g_get_monotonic_time() + 60000000;
    for (int32_t row = 0; polls < 5 && g_get_monotonic_time() < end; ++row) {
      list.AddResultRow(std::to_string(row) + "\nCall()");
      window_->PollStop();
      const int32_t stored = StoredRows(view);
      if (stored == last_seen) continue;
      ++polls;
      last_seen = stored;
      ASSERT_EQ(stored, list.RowCount());
      EXPECT_EQ(SelectedInView(view), stored - 1);
      // GTK scrolls when it next validates the view; on a loaded machine that can come
      // after the pump's time is up, so let it finish its pending work first.
      gtk_test::Pump();
      EXPECT_TRUE(RowInView(view.ListView(), stored - 1)) << "poll " << polls;
    }
  });
  EXPECT_EQ(polls, 5);
  EXPECT_EQ(StoredRows(view), list.RowCount());
  EXPECT_EQ(SelectedInView(view), list.RowCount() - 1);
  gtk_test::Pump();
  EXPECT_TRUE(RowInView(view.ListView(), list.RowCount() - 1));
  ExpectViewEqualsModel(view, list);
}

// A list out of sight keeps no rows in its tree view; shown again it has every row of the
// list, rows added meanwhile included, with the same selected row and the same top row.
TEST_F(ListingFollows, HiddenListGivesUpItsRowsAndComesBackAtItsSelectionAndTopRow) {
  ResultLists& lists = window_->Lists();
  ResultList& list = lists.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
  lists.RefreshListSelector();
  FillList(list);
  list.SelectRow(1200);
  lists.Sync();
  ResultListView& view = *lists.ViewOf(list);
  GtkTreePath* top = gtk_tree_path_new_from_indices(1000, -1);
  gtk_tree_view_scroll_to_cell(view.ListView(), top, nullptr, TRUE, 0.0f, 0.0f);
  gtk_tree_path_free(top);
  gtk_test::Pump();
  const int32_t top_row = TopRow(view.ListView());
  lists.ShowEntry(0);
  EXPECT_EQ(gtk_tree_view_get_model(view.ListView()), nullptr);
  list.AddUnselectedEmptyRow(RowMark::ClosingRow);
  lists.Sync();
  lists.ShowEntry(1);
  gtk_test::Pump();
  EXPECT_EQ(StoredRows(view), kRows + 1);
  EXPECT_EQ(SelectedInView(view), 1200);
  EXPECT_EQ(list.SelectedRow(), 1200);
  EXPECT_GE(top_row, 999);  // row 1000 at the top, the one before it perhaps in part
  EXPECT_EQ(TopRow(view.ListView()), top_row);
}

}  // namespace
