#include "app/result_list_view.h"

#include <algorithm>
#include <array>
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

// Writes `colour` as "#rrggbb" into `text` and returns it; nullptr (the view's default)
// for no colour. No formatting call: it runs for ten cells of every row copied.
const char* ColourText(const std::optional<Rgb>& colour, std::array<char, 8>& text) {
  if (!colour) return nullptr;
  constexpr char kHexDigits[] = "0123456789abcdef";
  const uint8_t parts[] = {colour->Red, colour->Green, colour->Blue};
  text[0] = '#';
  for (size_t i = 0; i < 3; ++i) {
    text[1 + 2 * i] = kHexDigits[parts[i] >> 4];
    text[2 + 2 * i] = kHexDigits[parts[i] & 0xF];
  }
  text[7] = '\0';
  return text.data();
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

// The store values of one row. Set up once per view and refilled for every row copied: the
// texts go into buffers that keep their capacity, so copying a row allocates nothing here.
struct ResultListView::RowValues {
  RowValues() {
    for (size_t i = 0; i < Values.size(); ++i) {
      Columns[i] = static_cast<gint>(i);
      g_value_init(&Values[i], G_TYPE_STRING);
    }
  }

  /// Points the values at the texts and colours of `row`, valid until the next `Fill`.
  void Fill(const ResultRow& row) {
    for (size_t column = 0; column < ResultColumns; ++column) {
      const ResultCell& cell = row.Cells[column];
      Texts[column].clear();
      AppendDisplayText(Texts[column], cell.Text);
      Set(kTextColumn + column, Texts[column].c_str());
      Set(kForegroundColumn + column, ColourText(cell.TextColour, Colours[column]));
      Set(kBackgroundColumn + column,
          ColourText(cell.Background, Colours[ResultColumns + column]));
    }
  }

  void Set(size_t column, const char* text) { g_value_set_static_string(&Values[column], text); }

  std::array<gint, kStoreColumns> Columns{};
  std::array<GValue, kStoreColumns> Values{};
  std::array<std::string, ResultColumns> Texts;
  std::array<std::array<char, 8>, 2 * ResultColumns> Colours{};
};

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
    : list_(list), row_values_(std::make_unique<RowValues>()) {
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

void ResultListView::Sync() { SyncUntil(G_MAXINT64); }

void ResultListView::SyncUntil(gint64 deadline) {
  const std::string caption = ToDisplayText(list_.Caption);
  if (caption != gtk_label_get_text(caption_)) gtk_label_set_text(caption_, caption.c_str());
  const bool rows_changed = !list_.ChangedMirroredRows().empty() || !HasAllRows();
  StoreChangedRows();
  while (!HasAllRows()) {
    AppendRow(stored_rows_);
    if (g_get_monotonic_time() >= deadline) break;
  }
  if (rows_changed || ShownSelection() != applied_selection_) ApplySelection();
}

// Changes to rows not copied yet need no update: those rows are copied as they are then.
// So the model may count every row as mirrored while the store still lacks some.
void ResultListView::StoreChangedRows() {
  GtkTreeModel* model = GTK_TREE_MODEL(store_);
  for (const int32_t row : list_.ChangedMirroredRows()) {
    GtkTreeIter iter;
    if (row >= stored_rows_ || !gtk_tree_model_iter_nth_child(model, &iter, nullptr, row)) {
      continue;
    }
    row_values_->Fill(list_.Row(row));
    gtk_list_store_set_valuesv(store_, &iter, row_values_->Columns.data(),
                               row_values_->Values.data(), kStoreColumns);
  }
  list_.MarkMirrored();
}

// Inserting with the values is one change of the store, where appending and then setting
// would be two, each seen by the tree view.
void ResultListView::AppendRow(int32_t row) {
  row_values_->Fill(list_.Row(row));
  GtkTreeIter iter;
  gtk_list_store_insert_with_valuesv(store_, &iter, row, row_values_->Columns.data(),
                                     row_values_->Values.data(), kStoreColumns);
  ++stored_rows_;
}

int32_t ResultListView::ShownSelection() const {
  return std::min(list_.SelectedRow(), stored_rows_ - 1);
}

void ResultListView::ApplySelection() {
  applying_selection_ = true;
  const int32_t row = ShownSelection();
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
