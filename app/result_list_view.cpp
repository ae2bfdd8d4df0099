#include "app/result_list_view.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include <gdk/gdkkeysyms.h>

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

// The row key that `keyval` stands for, if any.
std::optional<RowKey> NavigationKey(guint keyval) {
  switch (keyval) {
    case GDK_Up: case GDK_KP_Up: return RowKey::Up;
    case GDK_Down: case GDK_KP_Down: return RowKey::Down;
    case GDK_Page_Up: case GDK_KP_Page_Up: return RowKey::PageUp;
    case GDK_Page_Down: case GDK_KP_Page_Down: return RowKey::PageDown;
    case GDK_Home: case GDK_KP_Home: return RowKey::Home;
    case GDK_End: case GDK_KP_End: return RowKey::End;
    default: return std::nullopt;
  }
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
  MeasureSight();  // in the list's font
  Sync();
  gtk_widget_show_all(container_);
  ShowScrollbarWhenNeeded();
}

ResultListView::~ResultListView() {
  gtk_widget_destroy(GTK_WIDGET(caption_));
  gtk_widget_destroy(area_);
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
  BuildScrolling();
  gtk_fixed_put(GTK_FIXED(inner_), area_, kListX - border_x_, kListY - border_y_);
  Resize(width, height);
}

// The scrolled window scrolls the tree view across; down the list the view's own scrollbar
// moves the window of rows, so the tree view never holds more than the rows in sight.
void ResultListView::BuildScrolling() {
  scrolled_ = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled_), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_NEVER);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled_), GTK_SHADOW_ETCHED_IN);
  gtk_container_add(GTK_CONTAINER(scrolled_), GTK_WIDGET(list_view_));
  scroll_ = GTK_ADJUSTMENT(gtk_adjustment_new(0, 0, 1, 1, 1, 1));
  scrollbar_ = gtk_vscrollbar_new(scroll_);
  area_ = gtk_hbox_new(FALSE, 0);
  gtk_box_pack_start(GTK_BOX(area_), scrolled_, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(area_), scrollbar_, FALSE, FALSE, 0);
  g_signal_connect(scroll_, "value-changed", G_CALLBACK(&ResultListView::OnScrollbar), this);
  g_signal_connect(gtk_tree_view_get_vadjustment(list_view_), "value-changed",
                   G_CALLBACK(&ResultListView::OnTreeScrolled), this);
  g_signal_connect_after(list_view_, "size-allocate", G_CALLBACK(&ResultListView::OnAllocated),
                         this);
  g_signal_connect(list_view_, "key-press-event", G_CALLBACK(&ResultListView::OnKey), this);
  for (GtkWidget* widget : {GTK_WIDGET(list_view_), scrollbar_}) {
    g_signal_connect(widget, "scroll-event", G_CALLBACK(&ResultListView::OnWheel), this);
  }
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
  const int32_t row = view.ListRow(path);
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
  column.View->ShowCell(renderer, column.View->shown_first_ + row, column.Column);
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
  gtk_widget_show(container_);
  gtk_widget_grab_focus(GTK_WIDGET(list_view_));
}

void ResultListView::Hide() { gtk_widget_hide(container_); }

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
  gtk_widget_set_size_request(area_, width - 4, height - 58);
  FitSight();
}

// The caption, then the list's rows: the window over them moves only to keep the selected
// row of a list on screen in sight, and the tree view draws again only the changed rows
// it holds.
void ResultListView::Sync() {
  const std::string caption = ToDisplayText(list_.Caption());
  if (caption != gtk_label_get_text(caption_)) {
    gtk_label_set_text(caption_, caption.c_str());
    ShowCaptionTooltip();
  }
  const bool rows_changed =
      !list_.ChangedMirroredRows().empty() || window_.Rows() != list_.RowCount();
  RedrawChangedRows();
  window_.SetRows(list_.RowCount());
  if (!rows_changed && ShownSelection() == applied_selection_) return;
  // A hidden list keeps its top row, to be shown again as it was left.
  if (gtk_widget_get_visible(container_)) {
    ApplySelection();
  } else {
    ShowWindow();
  }
}

// A changed row only needs drawing again, and only while the tree view holds it.
void ResultListView::RedrawChangedRows() {
  const int32_t held = AnnouncedRows(rows_);
  for (const int32_t row : list_.ChangedMirroredRows()) {
    if (row >= shown_first_ && row - shown_first_ < held) {
      AnnounceRowChanged(rows_, row - shown_first_);
    }
  }
  list_.MarkMirrored();
}

void ResultListView::ApplySelection() {
  const int32_t row = ShownSelection();
  if (row >= 0) window_.ScrollToShow(row);
  ShowWindow();
  applied_selection_ = row;
}

int32_t ResultListView::ShownSelection() const {
  return std::min(list_.SelectedRow(), window_.Rows() - 1);
}

void ResultListView::TakeSelection() {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  int32_t row = -1;
  if (gtk_tree_selection_get_selected(gtk_tree_view_get_selection(list_view_), &model, &iter)) {
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    row = ListRow(path);
    gtk_tree_path_free(path);
  }
  list_.SelectRow(row);
  applied_selection_ = row;
}

int32_t ResultListView::ListRow(const GtkTreePath* path) const {
  return shown_first_ + gtk_tree_path_get_indices(const_cast<GtkTreePath*>(path))[0];
}

GtkTreePath* ResultListView::NewPathOf(int32_t row) const {
  if (row < shown_first_ || row - shown_first_ >= AnnouncedRows(rows_)) return nullptr;
  return gtk_tree_path_new_from_indices(row - shown_first_, -1);
}

void ResultListView::ScrollToRow(int32_t row) {
  window_.ScrollToShow(row);
  ShowWindow();
}

// The tree view's model changes only at its end and draws the new first row's rows in
// place; the selection it loses or gains on the way is the view's doing, not the user's.
void ResultListView::ShowWindow() {
  applying_selection_ = true;
  SetAnnouncedRows(rows_, window_.Shown());
  applying_selection_ = false;
  if (window_.First() != shown_first_) {
    shown_first_ = window_.First();
    gtk_widget_queue_draw(GTK_WIDGET(list_view_));
  }
  const double rows = std::max(window_.Rows(), 1);
  if (scroll_->value != shown_first_ || scroll_->upper != rows ||
      scroll_->page_size != window_.Page()) {
    showing_window_ = true;
    gtk_adjustment_configure(scroll_, shown_first_, 0, rows, 1, window_.PageStep(),
                             window_.Page());
    showing_window_ = false;
  }
  ShowScrollbarWhenNeeded();
  ShowSelectionInWindow();
}

// As a scrolled window's own scrollbar would: only for a list longer than its sight.
void ResultListView::ShowScrollbarWhenNeeded() {
  gtk_widget_set_visible(scrollbar_, window_.Rows() > window_.Page());
}

// The model's selected row is selected in the tree view while the tree view holds it.
void ResultListView::ShowSelectionInWindow() {
  GtkTreeSelection* selection = gtk_tree_view_get_selection(list_view_);
  GtkTreePath* path = NewPathOf(ShownSelection());
  applying_selection_ = true;
  if (path == nullptr) {
    gtk_tree_selection_unselect_all(selection);
    DropCursor();
  } else if (!gtk_tree_selection_path_is_selected(selection, path)) {
    gtk_tree_view_set_cursor(list_view_, path, nullptr, FALSE);
  }
  applying_selection_ = false;
  if (path != nullptr) gtk_tree_path_free(path);
}

// The tree view's cursor keeps its place among the rows held, which after scrolling are
// other rows of the list: it would mark a row that is not the selected one. A cursor goes
// with its row, so that row and those below it are taken out and put back.
void ResultListView::DropCursor() {
  GtkTreePath* cursor = nullptr;
  gtk_tree_view_get_cursor(list_view_, &cursor, nullptr);
  if (cursor == nullptr) return;
  const int32_t held = gtk_tree_path_get_indices(cursor)[0];
  gtk_tree_path_free(cursor);
  SetAnnouncedRows(rows_, held);
  SetAnnouncedRows(rows_, window_.Shown());
}

// The selection moves over the whole list; the tree view's selection then changes as the
// user's own, for the window to take (or to refuse while a listing runs).
void ResultListView::MoveSelection(RowKey key) {
  const int32_t row = window_.Move(ShownSelection(), key);
  ShowWindow();
  GtkTreePath* path = NewPathOf(row);
  if (path == nullptr) return;
  applying_selection_ = true;
  gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(list_view_));
  applying_selection_ = false;
  gtk_tree_view_set_cursor(list_view_, path, nullptr, FALSE);
  gtk_tree_path_free(path);
}

// Until the tree view is laid out, the list's height less the header and the frames.
int ResultListView::RowsHeight() const {
  if (!gtk_widget_get_realized(GTK_WIDGET(list_view_))) {
    gint height = 0;
    gtk_widget_get_size_request(area_, nullptr, &height);
    return height - 2 * RowHeight() - 4;
  }
  GdkRectangle rows;
  gtk_tree_view_get_visible_rect(list_view_, &rows);
  return rows.height;
}

// A row's height as the tree view drew it (all rows are alike); until it has drawn one,
// the font's line with the tree view's least padding.
int ResultListView::RowHeight() const {
  if (row_height_ > 0) return row_height_;
  if (AnnouncedRows(rows_) > 0 && gtk_widget_get_realized(GTK_WIDGET(list_view_))) {
    GdkRectangle area;
    GtkTreePath* path = gtk_tree_path_new_first();
    gtk_tree_view_get_background_area(list_view_, path, nullptr, &area);
    gtk_tree_path_free(path);
    if (area.height > 0) return row_height_ = area.height;
  }
  GtkWidget* widget = GTK_WIDGET(list_view_);
  PangoFontMetrics* metrics = pango_context_get_metrics(gtk_widget_get_pango_context(widget),
                                                        widget->style->font_desc, nullptr);
  const int line = PANGO_PIXELS(pango_font_metrics_get_ascent(metrics) +
                                pango_font_metrics_get_descent(metrics));
  pango_font_metrics_unref(metrics);
  return line + 4;
}

void ResultListView::MeasureSight() { window_.SetSight(RowsHeight(), RowHeight()); }

void ResultListView::OnAllocated(GtkWidget*, GtkAllocation*, gpointer self) {
  static_cast<ResultListView*>(self)->FitSight();
}

// A new size changes the rows in sight; the selected row stays in sight if it was.
void ResultListView::FitSight() {
  const int32_t selected = ShownSelection();
  const bool in_sight = window_.InSight(selected);
  MeasureSight();
  if (in_sight) window_.ScrollToShow(selected);
  if (window_.Shown() != AnnouncedRows(rows_) || window_.First() != shown_first_) ShowWindow();
}

// The tree view holds only rows in sight, so it never scrolls down itself: when it would
// (to show the row cut at the bottom wholly), it stays at its top.
void ResultListView::OnTreeScrolled(GtkAdjustment* scroll, gpointer) {
  if (scroll->value != 0) gtk_adjustment_set_value(scroll, 0);
}

void ResultListView::OnScrollbar(GtkAdjustment* scroll, gpointer self) {
  auto& view = *static_cast<ResultListView*>(self);
  if (view.showing_window_) return;
  view.window_.ScrollTo(std::llround(scroll->value));
  view.ShowWindow();
}

gboolean ResultListView::OnWheel(GtkWidget*, GdkEventScroll* event, gpointer self) {
  auto& view = *static_cast<ResultListView*>(self);
  if (event->direction != GDK_SCROLL_UP && event->direction != GDK_SCROLL_DOWN) return FALSE;
  const int32_t step = WheelRows(view.RowsHeight(), view.RowHeight());
  view.window_.ScrollTo(int64_t{view.window_.First()} +
                        (event->direction == GDK_SCROLL_UP ? -step : step));
  view.ShowWindow();
  return TRUE;
}

gboolean ResultListView::OnKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  if ((event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0) return FALSE;
  const std::optional<RowKey> key = NavigationKey(event->keyval);
  if (!key) return FALSE;
  static_cast<ResultListView*>(self)->MoveSelection(*key);
  return TRUE;
}
