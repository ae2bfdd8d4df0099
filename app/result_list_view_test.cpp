// The view over the list: the tree view holds only the rows in sight, whatever the list's
// length; every row of the list shows its texts and colours when scrolled to, the newest
// row is selected and in sight at each sync, changed rows in sight are drawn again, and a
// hidden list comes back at its top row and selection.
#include "app/result_list_view.h"

#include <gtest/gtest.h>

#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <utility>
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

int32_t HeldRows(const ResultListView& view) {
  return gtk_tree_model_iter_n_children(gtk_tree_view_get_model(view.ListView()), nullptr);
}

// Every row of the list as the tree view shows it once scrolled into sight, as the cells
// show them when drawn: texts as displayed, colours as "#rrggbb". One renderer draws a
// column's cells one after another, so a colour left over from the row before would show.
void ExpectViewEqualsModel(ResultListView& view, const ResultList& list) {
  ASSERT_EQ(view.Window().Rows(), list.RowCount());
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    view.ScrollToRow(row);
    ASSERT_TRUE(view.Window().InSight(row));
    ASSERT_LE(HeldRows(view), view.Window().Page() + 1);
    const int32_t held = row - view.Window().First();
    for (int column = 0; column < ResultColumns; ++column) {
      const ResultRow& model_row = list.Row(row);
      const CellColours colours = MarkColours(model_row.WrittenFor, model_row.Marks, column);
      SCOPED_TRACE("row " + std::to_string(row) + " column " + std::to_string(column));
      const gtk_test::ShownCell shown = gtk_test::CellShown(view.ListView(), held, column);
      ASSERT_EQ(shown.Text, ToDisplayText(model_row.Cells[static_cast<size_t>(column)]));
      ASSERT_EQ(shown.Foreground, Colour(colours.Text));
      ASSERT_EQ(shown.Background, Colour(colours.Background));
    }
  }
}

// The list's row selected in the tree view, -1 when none.
int32_t SelectedInView(const ResultListView& view) {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view.ListView()), &model,
                                       &iter)) {
    return -1;
  }
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  const int32_t row = view.ListRow(path);
  gtk_tree_path_free(path);
  return row;
}

// The list's rows from the first to the last that the tree view has on screen, wholly or
// in part; {-1, -1} when none.
std::pair<int32_t, int32_t> RowsOnScreen(const ResultListView& view) {
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  if (!gtk_tree_view_get_visible_range(view.ListView(), &first, &last)) return {-1, -1};
  const std::pair<int32_t, int32_t> rows{view.ListRow(first), view.ListRow(last)};
  gtk_tree_path_free(first);
  gtk_tree_path_free(last);
  return rows;
}

bool RowOnScreen(const ResultListView& view, int32_t row) {
  const auto [first, last] = RowsOnScreen(view);
  return first <= row && row <= last && first >= 0;
}

void CountInsertedRow(GtkTreeModel*, GtkTreePath*, GtkTreeIter*, gpointer inserted) {
  ++*static_cast<int32_t*>(inserted);
}

void NoteChangedRow(GtkTreeModel*, GtkTreePath* path, GtkTreeIter*, gpointer changed) {
  static_cast<std::vector<int32_t>*>(changed)->push_back(gtk_tree_path_get_indices(path)[0]);
}

class ShownView : public gtk_test::WindowTest {
 protected:
  /// A new list of All Proc-Calls on screen in the window.
  ResultList& OpenList() {
    ResultLists& lists = window_->Lists();
    ResultList& list = lists.OpenResultList(ListKind::AllProcedureCalls, "All Procedure-Calls...");
    lists.RefreshListSelector();
    gtk_test::Pump();
    return list;
  }
  ResultListView& ViewOf(const ResultList& list) { return *window_->Lists().ViewOf(list); }
};

using ResultListViewSync = ShownView;

TEST_F(ResultListViewSync, EverySyncTakesEveryRowAndEveryRowShowsAsTheList) {
  ResultList& list = OpenList();
  ResultListView& view = ViewOf(list);
  FillList(list);
  view.Sync();
  gtk_test::Pump();
  EXPECT_EQ(view.Window().Rows(), kRows);
  EXPECT_GE(view.Window().Page(), 20);  // the window's default height
  EXPECT_EQ(HeldRows(view), view.Window().Shown());
  EXPECT_EQ(SelectedInView(view), kRows - 1);
  EXPECT_TRUE(RowOnScreen(view, kRows - 1));
  // Changes to rows reach the view; so do rows and a selection added later.
  list.SetCellText(0, ColumnFunction, "   14 Procedure Foo()");
  list.AddMarks(kRows - 2, RowMark::CalledAboveHead);
  list.AddResultRow("1\nLate()");
  list.AddUnselectedEmptyRow(RowMark::ClosingRow);
  view.Sync();
  EXPECT_EQ(view.Window().Rows(), kRows + 2);
  EXPECT_EQ(SelectedInView(view), kRows);  // the closing row is not selected
  ExpectViewEqualsModel(view, list);
}

// The tree view is told of the rows in sight only: a list that grows by a hundred thousand
// rows costs it no more announcements than a page. The scrollbar shows once the list is
// longer than its sight.
TEST_F(ResultListViewSync, AHundredThousandRowsReachTheTreeViewAsOnePage) {
  ResultList& list = OpenList();
  ResultListView& view = ViewOf(list);
  for (int32_t row = 0; row < 5; ++row) list.AddResultRow(std::to_string(row) + "\nFew()");
  view.Sync();
  EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(view.Scrollbar())));
  int32_t inserted = 0;
  g_signal_connect(gtk_tree_view_get_model(view.ListView()), "row-inserted",
                   G_CALLBACK(CountInsertedRow), &inserted);
  for (int32_t row = 0; row < 100000; ++row) list.AddResultRow(std::to_string(row) + "\nMore()");
  view.Sync();
  gtk_test::Pump();
  EXPECT_EQ(view.Window().Rows(), 100005);
  EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(view.Scrollbar())));
  EXPECT_LE(inserted, 2 * (view.Window().Page() + 1));
  EXPECT_LE(HeldRows(view), view.Window().Page() + 1);
  EXPECT_EQ(SelectedInView(view), 100004);
  EXPECT_EQ(view.Window().First(), view.Window().LastFirst());
  EXPECT_EQ(gtk_adjustment_get_upper(gtk_range_get_adjustment(view.Scrollbar())), 100005);
}

using ResultListViewRedraw = ShownView;

// The view holds no copy of a row: a changed row in the tree view is only drawn again, and
// then shows the model as it is; rows not in the tree view need nothing.
TEST_F(ResultListViewRedraw, OnlyChangedRowsInTheTreeViewAreDrawnAgainAndShowTheChange) {
  ResultList& list = OpenList();
  ResultListView& view = ViewOf(list);
  for (int32_t row = 0; row < 1000; ++row) list.AddResultRow(std::to_string(row) + "\nA()");
  list.SelectRow(0);
  view.Sync();
  std::vector<int32_t> changed;
  g_signal_connect(gtk_tree_view_get_model(view.ListView()), "row-changed",
                   G_CALLBACK(NoteChangedRow), &changed);
  list.SetCellText(1, ColumnCount, "7");
  list.AddMarks(2, RowMark::ProcedureRow);
  list.AddMarks(900, RowMark::OtherCase);  // out of sight
  list.AddResultRow("4\nD()");
  list.AddMarks(1000, RowMark::OtherCase);  // not in the view yet
  list.SelectRow(0);
  view.Sync();
  std::sort(changed.begin(), changed.end());
  EXPECT_EQ(changed, (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(gtk_test::CellShown(view.ListView(), 1, ColumnCount).Text, "7");
  EXPECT_EQ(gtk_test::CellShown(view.ListView(), 2, ColumnFile).Background, "#dcdcdc");
  changed.clear();
  view.Sync();
  EXPECT_TRUE(changed.empty());
  ExpectViewEqualsModel(view, list);
}

using ListingFollows = ShownView;

// A stand-in listing that writes rows, polling after each, until the window has worked
// five times (or 60 s have passed, so that a loaded machine still gets its five): whenever
// it works, its view has every row written so far, the newest selected and on screen.
TEST_F(ListingFollows, EveryPollShowsEveryRowWithTheNewestSelectedAndInView) {
  ResultList& list = OpenList();
  ResultListView& view = ViewOf(list);
  int polls = 0;
  int32_t last_seen = 0;
  window_->RunListing([&] {
    const gint64 end = g_get_monotonic_time() + 60000000;
    for (int32_t row = 0; polls < 5 && g_get_monotonic_time() < end; ++row) {
      list.AddResultRow(std::to_string(row) + "\nCall()");
      window_->PollStop();
      const int32_t taken = view.Window().Rows();
      if (taken == last_seen) continue;
      ++polls;
      last_seen = taken;
      ASSERT_EQ(taken, list.RowCount());
      EXPECT_EQ(SelectedInView(view), taken - 1);
      gtk_test::Pump();
      EXPECT_TRUE(RowOnScreen(view, taken - 1)) << "poll " << polls;
    }
  });
  EXPECT_EQ(polls, 5);
  EXPECT_EQ(view.Window().Rows(), list.RowCount());
  EXPECT_EQ(SelectedInView(view), list.RowCount() - 1);
  gtk_test::Pump();
  EXPECT_TRUE(RowOnScreen(view, list.RowCount() - 1));
  ExpectViewEqualsModel(view, list);
}

// A list shown again after another comes back at the same top row and selected row, also
// a selected row out of sight, which shows selected once scrolled to.
TEST_F(ListingFollows, HiddenListComesBackAtItsSelectionAndTopRow) {
  ResultLists& lists = window_->Lists();
  ResultList& list = OpenList();
  FillList(list);
  list.SelectRow(1200);
  lists.Sync();
  ResultListView& view = ViewOf(list);
  gtk_range_set_value(view.Scrollbar(), 1000);
  gtk_test::Pump();
  ASSERT_EQ(RowsOnScreen(view).first, 1000);
  EXPECT_EQ(SelectedInView(view), -1);  // out of sight
  lists.ShowEntry(0);
  list.AddUnselectedEmptyRow(RowMark::ClosingRow);
  lists.Sync();
  lists.ShowEntry(1);
  gtk_test::Pump();
  EXPECT_EQ(view.Window().Rows(), kRows + 1);
  EXPECT_EQ(RowsOnScreen(view).first, 1000);
  EXPECT_EQ(list.SelectedRow(), 1200);
  view.ScrollToRow(1200);
  gtk_test::Pump();
  EXPECT_EQ(SelectedInView(view), 1200);
}

// A list of 100,000 rows on screen, scrolled by the keys, the wheel and the scrollbar as a
// person does it, with real events.
class ScrollingTheList : public ShownView {
 protected:
  void SetUp() override {
    ShownView::SetUp();
    if (IsSkipped()) return;
    list_ = &OpenList();
    for (int32_t row = 0; row < kLongList; ++row) {
      list_->AddResultRow(std::to_string(row) + "\nCall" + std::to_string(row) + "()");
    }
    list_->SelectRow(0);
    window_->Lists().Sync();
    gtk_test::Pump();
  }
  ResultListView& View() { return ViewOf(*list_); }
  void Key(guint keyval) {
    gtk_test::SendKey(GTK_WIDGET(View().ListView()), keyval);
    gtk_test::Pump();
  }
  /// `notches` of the mouse wheel over the rows, down (or up for a negative count).
  void Wheel(int notches) {
    for (int notch = 0; notch < std::abs(notches); ++notch) {
      GdkEvent* event = gdk_event_new(GDK_SCROLL);
      event->scroll.window =
          GDK_WINDOW(g_object_ref(gtk_tree_view_get_bin_window(View().ListView())));
      event->scroll.direction = notches > 0 ? GDK_SCROLL_DOWN : GDK_SCROLL_UP;
      event->scroll.x = 40;
      event->scroll.y = 40;
      event->scroll.time = GDK_CURRENT_TIME;
      gtk_main_do_event(event);
      gdk_event_free(event);
    }
    gtk_test::Pump();
  }
  /// Drags the scrollbar's slider with the X pointer to `fraction` of the trough's height,
  /// then puts the pointer back where it was, for the keyboard focus of later tests.
  void DragSlider(double fraction) {
    GtkWidget* bar = GTK_WIDGET(View().Scrollbar());
    gint origin_x = 0;
    gint origin_y = 0;
    gdk_window_get_origin(gtk_widget_get_window(bar), &origin_x, &origin_y);
    gint start = 0;
    gint end = 0;
    gtk_range_get_slider_range(GTK_RANGE(bar), &start, &end);
    const int x = origin_x + bar->allocation.x + bar->allocation.width / 2;
    const int top = origin_y + bar->allocation.y;
    const int to = top + static_cast<int>(fraction * bar->allocation.height);
    gint pointer_x = 0;
    gint pointer_y = 0;
    gdk_display_get_pointer(gdk_display_get_default(), nullptr, &pointer_x, &pointer_y, nullptr);
    const auto move = [](int to_x, int to_y) {
      return "mousemove " + std::to_string(to_x) + " " + std::to_string(to_y);
    };
    for (const std::string& step : {move(x, top + (start + end) / 2), std::string("mousedown 1"),
                                    move(x, to), std::string("mouseup 1"),
                                    move(pointer_x, pointer_y)}) {
      ASSERT_EQ(std::system(("xdotool " + step).c_str()), 0) << step;
      gtk_test::Pump(30);
    }
  }
  int32_t Selected() const { return list_->SelectedRow(); }

  static constexpr int32_t kLongList = 100000;
  ResultList* list_ = nullptr;
};

TEST_F(ScrollingTheList, KeysMoveTheSelectionToTheEndOfTheListAndBack) {
  const int32_t page = View().Window().Page();
  Key(GDK_Down);
  Key(GDK_Down);
  EXPECT_EQ(Selected(), 2);
  const int32_t step = View().Window().PageStep();
  EXPECT_LT(step, page);
  Key(GDK_Page_Down);
  EXPECT_EQ(Selected(), 2 + step);
  EXPECT_EQ(View().Window().First(), step);  // the selected row keeps its place on screen
  Key(GDK_End);
  EXPECT_EQ(Selected(), kLongList - 1);
  EXPECT_EQ(SelectedInView(View()), kLongList - 1);
  EXPECT_TRUE(RowOnScreen(View(), kLongList - 1));
  Key(GDK_Up);
  Key(GDK_Page_Up);
  EXPECT_EQ(Selected(), kLongList - 2 - step);
  EXPECT_EQ(SelectedInView(View()), Selected());
  Key(GDK_Home);
  EXPECT_EQ(Selected(), 0);
  EXPECT_EQ(RowsOnScreen(View()).first, 0);
  EXPECT_EQ(gtk_test::CellShown(View().ListView(), 0, ColumnCalls).Text, "Call0()");
}

// The wheel and the scrollbar move the rows in sight, not the selection, which shows again
// once its row is back in sight.
TEST_F(ScrollingTheList, TheWheelScrollsToTheEndAndBackAndTheSelectionWaitsOutOfSight) {
  Key(GDK_Down);
  ASSERT_EQ(Selected(), 1);
  const int32_t step = View().Window().First();
  Wheel(3);
  EXPECT_GT(View().Window().First(), step);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(SelectedInView(View()), -1);
  GtkTreePath* cursor = nullptr;  // no row on screen is marked as the cursor's either
  gtk_tree_view_get_cursor(View().ListView(), &cursor, nullptr);
  EXPECT_EQ(cursor, nullptr);
  if (cursor != nullptr) gtk_tree_path_free(cursor);
  gtk_range_set_value(View().Scrollbar(), kLongList - 100);
  Wheel(100);
  EXPECT_EQ(View().Window().First(), View().Window().LastFirst());
  EXPECT_TRUE(RowOnScreen(View(), kLongList - 1));
  const int32_t last_shown = kLongList - 1 - View().Window().First();
  EXPECT_EQ(gtk_test::CellShown(View().ListView(), last_shown, ColumnCalls).Text,
            "Call" + std::to_string(kLongList - 1) + "()");
  gtk_range_set_value(View().Scrollbar(), 100);
  Wheel(-100);
  EXPECT_EQ(View().Window().First(), 0);
  EXPECT_EQ(Selected(), 1);
  EXPECT_EQ(SelectedInView(View()), 1);
}

TEST_F(ScrollingTheList, DraggingTheScrollbarReachesTheEndAndTheTop) {
  DragSlider(1.2);  // past the trough's end
  EXPECT_EQ(View().Window().First(), View().Window().LastFirst());
  EXPECT_TRUE(RowOnScreen(View(), kLongList - 1));
  DragSlider(0.5);
  EXPECT_NEAR(View().Window().First(), kLongList / 2, kLongList / 20);
  DragSlider(-0.2);
  EXPECT_EQ(View().Window().First(), 0);
  EXPECT_EQ(SelectedInView(View()), 0);
}

}  // namespace
