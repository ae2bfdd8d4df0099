#include "app/result_list_view.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "listings/display_text.h"

const char* const ColumnHeaders[ResultColumns] = {"Line", "Calls", "Count", "(in) Function",
                                                  "in File"};
const int ColumnWidths[ResultColumns] = {56, 380, 55, 300, 200};

namespace {

// Store columns: the five cell texts, then their text colours, then their backgrounds;
// a colour is "#rrggbb" or NULL for the view's default.
constexpr int kTextColumn = 0;
constexpr int kForegroundColumn = ResultColumns;
constexpr int kBackgroundColumn = 2 * ResultColumns;
constexpr int kStoreColumns = 3 * ResultColumns;

// Layout inside a window of inner size W x H, measured from the panel's outer edge.
constexpr int kPanelY = 34;
constexpr int kCaptionX = 5;
constexpr int kCaptionWidth = 800;
constexpr int kCaptionHeight = 20;
constexpr int kListX = 2;
constexpr int kListY = 20;

std::string ColourText(const std::optional<Rgb>& colour) {
  if (!colour) return {};
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour->Red, colour->Green, colour->Blue);
  return text;
}

GtkTreeViewColumn* NewColumn(int column) {
  GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
  GtkTreeViewColumn* view_column = gtk_tree_view_column_new_with_attributes(
      ColumnHeaders[column], renderer, "text", kTextColumn + column, "foreground",
      kForegroundColumn + column, "cell-background", kBackgroundColumn + column, nullptr);
  gtk_tree_view_column_set_sizing(view_column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(view_column, ColumnWidths[column]);
  gtk_tree_view_column_set_resizable(view_column, TRUE);
  gtk_tree_view_column_set_clickable(view_column, FALSE);
  return view_column;
}

}  // namespace

void SetColumnAlignment(GtkTreeView* list_view, int column, float fraction) {
  GtkTreeViewColumn* view_column = gtk_tree_view_get_column(list_view, column);
  if (view_column == nullptr) return;
  gtk_tree_view_column_set_alignment(view_column, fraction);
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(view_column));
  for (GList* cell = cells; cell != nullptr; cell = cell->next) {
    g_object_set(cell->data, "xalign", fraction, nullptr);
  }
  g_list_free(cells);
}

ResultListView::ResultListView(ResultList& list, GtkFixed* area, int width, int height,
                               const PangoFontDescription* font)
    : list_(list) {
  BuildControls(area, width, height);
  BuildColumns(font);
  SetColumnAlignment(list_view_, ColumnLine, 1.0f);
  Sync();
  gtk_widget_show_all(container_);
}

ResultListView::~ResultListView() {
  gtk_widget_destroy(GTK_WIDGET(caption_));
  gtk_widget_destroy(scrolled_);
  gtk_widget_destroy(container_);
  g_object_unref(store_);
}

void ResultListView::BuildControls(GtkFixed* area, int width, int height) {
  container_ = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(container_), GTK_SHADOW_IN);
  gtk_fixed_put(area, container_, 0, kPanelY);
  gtk_widget_ensure_style(container_);
  border_x_ = container_->style->xthickness;
  border_y_ = container_->style->ythickness;
  inner_ = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(container_), inner_);

  caption_ = GTK_LABEL(gtk_label_new(""));
  gtk_misc_set_alignment(GTK_MISC(caption_), 0.0f, 0.5f);
  gtk_label_set_line_wrap(caption_, TRUE);
  gtk_widget_set_size_request(GTK_WIDGET(caption_), kCaptionWidth, kCaptionHeight);
  gtk_fixed_put(GTK_FIXED(inner_), GTK_WIDGET(caption_), kCaptionX - border_x_,
                std::max(0, -border_y_));

  store_ = gtk_list_store_new(kStoreColumns, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING,
                              G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING,
                              G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING,
                              G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING, G_TYPE_STRING);
  list_view_ = GTK_TREE_VIEW(gtk_tree_view_new_with_model(GTK_TREE_MODEL(store_)));
  scrolled_ = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled_), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled_), GTK_SHADOW_ETCHED_IN);
  gtk_container_add(GTK_CONTAINER(scrolled_), GTK_WIDGET(list_view_));
  gtk_fixed_put(GTK_FIXED(inner_), scrolled_, kListX - border_x_, kListY - border_y_);
  Resize(width, height);
}

void ResultListView::BuildColumns(const PangoFontDescription* font) {
  for (int column = 0; column < ResultColumns; ++column) {
    gtk_tree_view_append_column(list_view_, NewColumn(column));
  }
  gtk_tree_view_set_headers_visible(list_view_, TRUE);
  gtk_tree_view_set_headers_clickable(list_view_, FALSE);
  // Every column has a fixed width, so rows can be measured once: large lists stay fast.
  gtk_tree_view_set_fixed_height_mode(list_view_, TRUE);
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(list_view_), GTK_SELECTION_SINGLE);
  gtk_widget_modify_font(GTK_WIDGET(list_view_), const_cast<PangoFontDescription*>(font));
}

void ResultListView::Show() {
  gtk_widget_show(container_);
  gtk_widget_grab_focus(GTK_WIDGET(list_view_));
}

void ResultListView::Hide() { gtk_widget_hide(container_); }

void ResultListView::Resize(int width, int height) {
  gtk_widget_set_size_request(container_, width, height - 36);
  gtk_widget_set_size_request(scrolled_, width - 4, height - 58);
}

void ResultListView::Sync() {
  const std::string caption = ToDisplayText(list_.Caption);
  if (caption != gtk_label_get_text(caption_)) gtk_label_set_text(caption_, caption.c_str());
  const bool rows_changed =
      !list_.ChangedMirroredRows().empty() || list_.MirroredRows() != list_.RowCount();
  SyncRows();
  if (rows_changed || list_.SelectedRow() != applied_selection_) ApplySelection();
}

void ResultListView::StoreRow(GtkTreeIter* iter, int32_t row) {
  // Kept alive until the store has copied them.
  std::array<std::string, kStoreColumns> texts;
  std::array<GValue, kStoreColumns> values{};
  std::array<gint, kStoreColumns> columns;
  for (int column = 0; column < ResultColumns; ++column) {
    const ResultCell& cell = list_.Row(row).Cells[static_cast<size_t>(column)];
    texts[static_cast<size_t>(kTextColumn + column)] = ToDisplayText(cell.Text);
    texts[static_cast<size_t>(kForegroundColumn + column)] = ColourText(cell.TextColour);
    texts[static_cast<size_t>(kBackgroundColumn + column)] = ColourText(cell.Background);
  }
  for (size_t i = 0; i < texts.size(); ++i) {
    columns[i] = static_cast<gint>(i);
    g_value_init(&values[i], G_TYPE_STRING);
    const bool colour = static_cast<int>(i) >= kForegroundColumn;
    g_value_set_static_string(&values[i], colour && texts[i].empty() ? nullptr : texts[i].c_str());
  }
  gtk_list_store_set_valuesv(store_, iter, columns.data(), values.data(), kStoreColumns);
}

void ResultListView::SyncRows() {
  GtkTreeModel* model = GTK_TREE_MODEL(store_);
  for (const int32_t row : list_.ChangedMirroredRows()) {
    GtkTreeIter iter;
    if (gtk_tree_model_iter_nth_child(model, &iter, nullptr, row)) StoreRow(&iter, row);
  }
  for (int32_t row = list_.MirroredRows(); row < list_.RowCount(); ++row) {
    GtkTreeIter iter;
    gtk_list_store_append(store_, &iter);
    StoreRow(&iter, row);
  }
  list_.MarkMirrored();
}

void ResultListView::ApplySelection() {
  applying_selection_ = true;
  const int32_t row = list_.SelectedRow();
  if (row < 0) {
    gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(list_view_));
  } else {
    GtkTreePath* path = gtk_tree_path_new_from_indices(row, -1);
    gtk_tree_view_set_cursor(list_view_, path, nullptr, FALSE);
    gtk_tree_view_scroll_to_cell(list_view_, path, nullptr, FALSE, 0.0f, 0.0f);
    gtk_tree_path_free(path);
  }
  applied_selection_ = row;
  applying_selection_ = false;
}

void ResultListView::TakeSelection() {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  int32_t row = -1;
  if (gtk_tree_selection_get_selected(gtk_tree_view_get_selection(list_view_), &model, &iter)) {
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    row = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
  }
  list_.SelectRow(row);
  applied_selection_ = row;
}
