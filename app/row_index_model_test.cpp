// The row-index model under a real tree view: rows appear in the view as they are
// announced and leave it as they are taken back, each row's value is its index, iterators
// and paths agree, and a changed row is drawn again.
#include "app/row_index_model.h"

#include <gtest/gtest.h>

#include "app/gtk_test_support.h"

namespace {

using gtk_test::DisplayOpens;
using gtk_test::Pump;

int ValueAt(GtkTreeModel* model, int row) {
  GtkTreeIter iter;
  if (!gtk_tree_model_iter_nth_child(model, &iter, nullptr, row)) return -1;
  gint value = -1;
  gtk_tree_model_get(model, &iter, 0, &value, -1);
  return value;
}

/// A tree view over `model` in a shown window; destroyed with the window.
GtkTreeView* ShowView(GtkWidget* window, GtkTreeModel* model) {
  GtkTreeView* view = GTK_TREE_VIEW(gtk_tree_view_new_with_model(model));
  GtkTreeViewColumn* column =
      gtk_tree_view_column_new_with_attributes("Row", gtk_cell_renderer_text_new(), "text", 0, nullptr);
  gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(column, 80);
  gtk_tree_view_append_column(view, column);
  gtk_tree_view_set_fixed_height_mode(view, TRUE);
  GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(scrolled), GTK_WIDGET(view));
  gtk_container_add(GTK_CONTAINER(window), scrolled);
  gtk_widget_show_all(window);
  Pump();
  return view;
}

}  // namespace

TEST(RowIndexModel, AnnouncedRowsReachTheViewAndHoldTheirIndex) {
  if (!DisplayOpens()) GTEST_SKIP() << "no display";
  GtkTreeModel* model = NewRowIndexModel();
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkTreeView* view = ShowView(window, model);
  SetAnnouncedRows(model, 1000);
  EXPECT_EQ(AnnouncedRows(model), 1000);
  EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_tree_view_get_model(view), nullptr), 1000);
  EXPECT_EQ(ValueAt(model, 0), 0);
  EXPECT_EQ(ValueAt(model, 999), 999);
  EXPECT_EQ(ValueAt(model, 1000), -1);
  GtkTreeIter iter;
  ASSERT_TRUE(gtk_tree_model_iter_nth_child(model, &iter, nullptr, 998));
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  EXPECT_EQ(gtk_tree_path_get_indices(path)[0], 998);
  EXPECT_TRUE(gtk_tree_model_iter_next(model, &iter));
  EXPECT_FALSE(gtk_tree_model_iter_next(model, &iter));  // past the last row
  EXPECT_FALSE(gtk_tree_model_iter_has_child(model, &iter));
  // The view can select and scroll to the newest row.
  gtk_tree_path_free(path);
  path = gtk_tree_path_new_from_indices(999, -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(view), path);
  gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
  Pump();
  EXPECT_TRUE(gtk_tree_selection_path_is_selected(gtk_tree_view_get_selection(view), path));
  gtk_tree_path_free(path);
  gtk_widget_destroy(window);
  g_object_unref(model);
}

// Rows taken back leave the view from the end, the selected one among them, and the rows
// before keep their values; a negative count takes every row.
TEST(RowIndexModel, RowsTakenBackLeaveTheViewFromTheEnd) {
  if (!DisplayOpens()) GTEST_SKIP() << "no display";
  GtkTreeModel* model = NewRowIndexModel();
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkTreeView* view = ShowView(window, model);
  SetAnnouncedRows(model, 40);
  GtkTreePath* path = gtk_tree_path_new_from_indices(35, -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(view), path);
  gtk_tree_path_free(path);
  SetAnnouncedRows(model, 30);
  Pump();
  EXPECT_EQ(AnnouncedRows(model), 30);
  EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_tree_view_get_model(view), nullptr), 30);
  EXPECT_EQ(gtk_tree_selection_count_selected_rows(gtk_tree_view_get_selection(view)), 0);
  EXPECT_EQ(ValueAt(model, 29), 29);
  EXPECT_EQ(ValueAt(model, 30), -1);
  SetAnnouncedRows(model, -1);
  EXPECT_EQ(gtk_tree_model_iter_n_children(gtk_tree_view_get_model(view), nullptr), 0);
  gtk_widget_destroy(window);
  g_object_unref(model);
}

TEST(RowIndexModel, AChangedRowIsDrawnAgain) {
  if (!DisplayOpens()) GTEST_SKIP() << "no display";
  GtkTreeModel* model = NewRowIndexModel();
  SetAnnouncedRows(model, 3);
  int changed = -1;
  const gulong handler = g_signal_connect(
      model, "row-changed", G_CALLBACK(+[](GtkTreeModel*, GtkTreePath* path, GtkTreeIter*,
                                           gpointer row) {
        *static_cast<int*>(row) = gtk_tree_path_get_indices(path)[0];
      }),
      &changed);
  AnnounceRowChanged(model, 7);  // no such row: ignored
  EXPECT_EQ(changed, -1);
  AnnounceRowChanged(model, 2);
  EXPECT_EQ(changed, 2);
  g_signal_handler_disconnect(model, handler);
  g_object_unref(model);
}
