#include "app/result_list_view.h"

#include <algorithm>
#include <string>

#include "app/row_index_model.h"
#include "frontend/display_text.h"
#include "listings/row_colours.h"

const int ColumnWidths[ResultColumns] = {56, 380, 55, 300, 200};

namespace {

/// True for the lists of a check, whose Count column holds the reasons of its findings.
bool IsCheck(ListKind kind) { return KindEntry(kind).Findings != FindingStyle::None; }

}  // namespace

// A check's Count column holds its reasons ("differs: parameter 2: .s vs .i"): the room
// comes from the source line and label columns, so that every column fits the window's
// default width.
const int CheckColumnWidths[ResultColumns] = {56, 330, 270, 150, 150};

int InitialColumnWidth(ListKind kind, int column) {
  return IsCheck(kind) ? CheckColumnWidths[column] : ColumnWidths[column];
}

namespace {

// The tree view's model gives only each row's index; the cells read texts and colours
// from the result list when they are drawn, so a row costs the toolkit no storage.
constexpr int kRowColumn = 0;

// Layout inside a window of inner size W x H, measured from the panel's outer edge.
constexpr int kPanelY = 34;
constexpr int kCaptionX = 5;
constexpr int kCaptionWidth = 800;
constexpr int kCaptionHeight = 20;
constexpr int kListX = 2;
constexpr int kListY = 20;

// 257 spreads 0..255 over GDK's 0..65535.
guint16 ToGdkLevel(uint8_t level) { return static_cast<guint16>(level * 257); }

GdkColor ToGdkColor(const Rgb& colour) {
  return GdkColor{0, ToGdkLevel(colour.Red), ToGdkLevel(colour.Green), ToGdkLevel(colour.Blue)};
}

// Sets the colour property `property` of `renderer` and its "-set" switch `set_property`;
// no colour switches it off, so the view's default shows.
void SetColour(GtkCellRenderer* renderer, const char* property, const char* set_property,
               const std::optional<Rgb>& colour) {
  if (!colour) {
    g_object_set(renderer, set_property, FALSE, nullptr);
    return;
  }
  const GdkColor gdk_colour = ToGdkColor(*colour);
  g_object_set(renderer, property, &gdk_colour, set_property, TRUE, nullptr);
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
  g_object_unref(rows_);
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
  // One line, cut at its end with an ellipsis: a long subject stays readable from its start
  // (a wrapped second line would fall below the label's 20 pixels), and the tooltip holds
  // all of it.
  gtk_label_set_single_line_mode(caption_, TRUE);
  gtk_label_set_ellipsize(caption_, PANGO_ELLIPSIZE_END);
  gtk_widget_set_size_request(GTK_WIDGET(caption_), kCaptionWidth, kCaptionHeight);
  // At 5,0 of the panel: on its top border, which the inner area starts below.
  gtk_fixed_put(GTK_FIXED(inner_), GTK_WIDGET(caption_), kCaptionX - border_x_, -border_y_);

  rows_ = NewRowIndexModel();
  list_view_ = GTK_TREE_VIEW(gtk_tree_view_new_with_model(rows_));
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
  if (IsCheck(list_.Kind())) {
    // A reason or label cut off at its column's edge ends in an ellipsis and shows whole
    // in the cell's tooltip.
    gtk_widget_set_has_tooltip(GTK_WIDGET(list_view_), TRUE);
    g_signal_connect(list_view_, "query-tooltip", G_CALLBACK(&ResultListView::OnQueryTooltip),
                     this);
  }
}

gboolean ResultListView::OnQueryTooltip(GtkWidget*, gint x, gint y, gboolean keyboard,
                                        GtkTooltip* tooltip, gpointer self) {
  auto& view = *static_cast<ResultListView*>(self);
  GtkTreePath* path = nullptr;
  gint bin_x = 0;
  gint bin_y = 0;
  gtk_tree_view_convert_widget_to_bin_window_coords(view.list_view_, x, y, &bin_x, &bin_y);
  GtkTreeViewColumn* column = nullptr;
  if (keyboard || !gtk_tree_view_get_path_at_pos(view.list_view_, bin_x, bin_y, &path, &column,
                                                 nullptr, nullptr)) {
    return FALSE;
  }
  const int row = gtk_tree_path_get_indices(path)[0];
  GList* columns = gtk_tree_view_get_columns(view.list_view_);
  const int index = g_list_index(columns, column);
  g_list_free(columns);
  const std::string text = ToDisplayText(view.list_.CellText(row, index));
  if (!text.empty()) {
    gtk_tooltip_set_text(tooltip, text.c_str());
    gtk_tree_view_set_tooltip_cell(view.list_view_, tooltip, path, column, nullptr);
  }
  gtk_tree_path_free(path);
  return !text.empty();
}

GtkTreeViewColumn* ResultListView::NewColumn(int column) {
  sources_[static_cast<size_t>(column)] = ColumnSource{this, column};
  GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
  GtkTreeViewColumn* view_column = gtk_tree_view_column_new();
  gtk_tree_view_column_set_title(view_column, ColumnHeaders[column]);
  gtk_tree_view_column_pack_start(view_column, renderer, TRUE);
  if (IsCheck(list_.Kind())) g_object_set(renderer, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
  gtk_tree_view_column_set_cell_data_func(view_column, renderer, &ResultListView::CellData,
                                          &sources_[static_cast<size_t>(column)], nullptr);
  gtk_tree_view_column_set_sizing(view_column, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(view_column, InitialColumnWidth(list_.Kind(), column));
  gtk_tree_view_column_set_resizable(view_column, TRUE);
  gtk_tree_view_column_set_clickable(view_column, FALSE);
  return view_column;
}

void ResultListView::CellData(GtkTreeViewColumn* /*view_column*/, GtkCellRenderer* renderer,
                              GtkTreeModel* rows, GtkTreeIter* iter, gpointer source) {
  const ColumnSource& column = *static_cast<const ColumnSource*>(source);
  gint row = -1;
  gtk_tree_model_get(rows, iter, kRowColumn, &row, -1);
  column.View->ShowCell(renderer, row, column.Column);
}

// Runs for every cell drawn (only rows on screen): the text goes through one buffer that
// keeps its capacity, so drawing allocates nothing here.
void ResultListView::ShowCell(GtkCellRenderer* renderer, int32_t row, int column) {
  cell_text_.clear();
  CellColours colours;  // a row that the model lacks shows empty, in the default colours
  if (row >= 0 && row < list_.RowCount()) {
    const ResultRow& shown = list_.Row(row);
    AppendDisplayText(cell_text_, shown.Cells[static_cast<size_t>(column)]);
    colours = MarkColours(shown.WrittenFor, shown.Marks, column);
  }
  g_object_set(renderer, "text", cell_text_.c_str(), nullptr);
  SetColour(renderer, "foreground-gdk", "foreground-set", colours.Text);
  SetColour(renderer, "cell-background-gdk", "cell-background-set", colours.Background);
}

void ResultListView::Show() {
  Attach();
  gtk_widget_show(container_);
  gtk_widget_grab_focus(GTK_WIDGET(list_view_));
}

void ResultListView::Hide() {
  gtk_widget_hide(container_);
  Detach();
}

// The tree view keeps a node per row of its model; without the model it keeps none. The
// selection it loses on the way is the view's own doing, not the user's.
void ResultListView::Detach() {
  if (!attached_) return;
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  top_row_ = -1;
  if (gtk_tree_view_get_visible_range(list_view_, &first, &last)) {
    top_row_ = gtk_tree_path_get_indices(first)[0];
    gtk_tree_path_free(first);
    gtk_tree_path_free(last);
  }
  applying_selection_ = true;
  gtk_tree_view_set_model(list_view_, nullptr);
  applying_selection_ = false;
  attached_ = false;
}

// The model is filled to the list's rows before the tree view takes it, which then reads
// them in one step instead of one announcement each.
void ResultListView::Attach() {
  if (attached_) return;
  SetRowsQuietly(rows_, list_.RowCount());
  list_.MarkMirrored();
  applying_selection_ = true;
  gtk_tree_view_set_model(list_view_, rows_);
  applying_selection_ = false;
  attached_ = true;
  ApplySelection();
  if (top_row_ < 0) return;
  GtkTreePath* top = gtk_tree_path_new_from_indices(top_row_, -1);
  gtk_tree_view_scroll_to_cell(list_view_, top, nullptr, TRUE, 0.0f, 0.0f);
  gtk_tree_path_free(top);
}

void ResultListView::SetCaptionTooltip(const std::string& text) {
  main_file_ = ToDisplayText(text);
  ShowCaptionTooltip();
}

// The caption whole (a long one is cut on screen), then which main file is in use.
void ResultListView::ShowCaptionTooltip() {
  std::string tooltip = gtk_label_get_text(caption_);
  if (!main_file_.empty()) tooltip += "\n" + main_file_;
  gtk_widget_set_tooltip_text(GTK_WIDGET(caption_), tooltip.c_str());
}

void ResultListView::Resize(int width, int height) {
  gtk_widget_set_size_request(container_, width, height - 36);
  gtk_widget_set_size_request(scrolled_, width - 4, height - 58);
}

void ResultListView::Sync() { SyncUntil(G_MAXINT64); }

bool ResultListView::SyncUntil(gint64 deadline) {
  // Rows are announced in steps of this many between looks at the clock.
  constexpr int32_t kRowsPerLook = 256;
  const std::string caption = ToDisplayText(list_.Caption());
  if (caption != gtk_label_get_text(caption_)) {
    gtk_label_set_text(caption_, caption.c_str());
    ShowCaptionTooltip();
  }
  if (!attached_) return true;  // `Attach` takes the rows as they are then
  const bool rows_changed =
      !list_.ChangedMirroredRows().empty() || AnnouncedRows(rows_) != list_.RowCount();
  RedrawChangedRows();
  if (TakesBacklogAtOnce()) {
    Detach();
    Attach();
  }
  do {
    AnnounceRows(rows_, std::min(list_.RowCount(), AnnouncedRows(rows_) + kRowsPerLook));
  } while (AnnouncedRows(rows_) < list_.RowCount() && g_get_monotonic_time() < deadline);
  if (rows_changed || ShownSelection() != applied_selection_) ApplySelection();
  return AnnouncedRows(rows_) == list_.RowCount();
}

// The tree view takes the rows of a model it is given in one sweep, where it costs a
// signal and a node lookup per announced row. A rebuild goes over the rows it had too,
// so it is taken only for a backlog at least as long as those (the rebuilds of a growing
// list then cost at most twice its rows), and only up to a size whose rebuild keeps the
// window's loop waiting well below 50 ms.
bool ResultListView::TakesBacklogAtOnce() const {
  constexpr int32_t kLeastBacklog = 4096;
  constexpr int32_t kMostRowsRebuilt = 131072;
  const int32_t waiting = WaitingRows();
  return waiting >= kLeastBacklog && waiting >= AnnouncedRows(rows_) &&
         list_.RowCount() <= kMostRowsRebuilt;
}

int32_t ResultListView::WaitingRows() const {
  return attached_ ? list_.RowCount() - AnnouncedRows(rows_) : 0;
}

// A changed row only needs drawing again: it then shows the list as it is.
void ResultListView::RedrawChangedRows() {
  for (const int32_t row : list_.ChangedMirroredRows()) AnnounceRowChanged(rows_, row);
  list_.MarkMirrored();
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

int32_t ResultListView::ShownSelection() const {
  return std::min(list_.SelectedRow(), AnnouncedRows(rows_) - 1);
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
