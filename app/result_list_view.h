// The on-screen side of one result list: a sunken panel with the caption, a tree view
// over a model of the rows in sight, which reads the list's texts and colours when it
// draws, and a scrollbar of its own that spans the whole list.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <string>

#include "app/row_window.h"
#include "listings/result_list.h"

/// Initial widths of the columns, in pixels.
extern const int ColumnWidths[ResultColumns];

/// Initial width of `column` in a list of `kind`: `ColumnWidths`, but the checks' lists
/// give their Count column the room of the reasons that stand in it, and still fit the
/// window's default width.
int InitialColumnWidth(ListKind kind, int column);

/// Aligns the header and every cell of `column` of `list_view` to `fraction` (0.0 left,
/// 1.0 right); does nothing when the column does not exist.
void SetColumnAlignment(GtkTreeView* list_view, int column, float fraction);

/// The controls of one `ResultList`, placed in the window's fixed area. Destroying the view
/// destroys its controls; the model stays untouched.
class ResultListView {
 public:
  /// Creates the visible panel for `list` in `area` for a window of inner size
  /// `width` x `height`, with rows drawn in `font`.
  ResultListView(ResultList& list, GtkFixed* area, int width, int height,
                 const PangoFontDescription* font);
  ResultListView(const ResultListView&) = delete;
  ResultListView& operator=(const ResultListView&) = delete;
  /// Destroys the caption, the list view and the panel, in this order.
  ~ResultListView();

  /// The list this view shows.
  ResultList& Model() const { return list_; }
  /// The framed panel.
  GtkWidget* Container() const { return container_; }
  /// The tree view of the rows in sight.
  GtkTreeView* ListView() const { return list_view_; }
  /// The area that holds the tree view and the scrollbar and takes the list's size and
  /// place.
  GtkWidget* ScrolledArea() const { return area_; }
  /// The vertical scrollbar over the whole list.
  GtkRange* Scrollbar() const { return GTK_RANGE(scrollbar_); }
  /// The part of the list in sight.
  const RowWindow& Window() const { return window_; }
  /// The list's row at `path` of the tree view.
  int32_t ListRow(const GtkTreePath* path) const;
  /// A new path of the tree view to the list's `row` (free it with gtk_tree_path_free);
  /// nullptr when the row is not in the tree view.
  GtkTreePath* NewPathOf(int32_t row) const;
  /// Scrolls as little as brings the list's `row` wholly into sight.
  void ScrollToRow(int32_t row);
  /// The caption label.
  GtkLabel* Caption() const { return caption_; }

  /// Shows the panel, at the top row and selection it had, and gives the tree view the
  /// keyboard focus.
  void Show();
  /// Hides the panel.
  void Hide();
  /// Shows `text` (which main file is in use; source bytes, converted for display) in the
  /// caption's tooltip, after the caption's own text.
  void SetCaptionTooltip(const std::string& text);
  /// Fits the panel and the list to a window of inner size `width` x `height`.
  void Resize(int width, int height);
  /// Brings the view up to the model: caption, the rows of the list (no copies), changed
  /// rows in sight drawn again, and the model's selected row selected and scrolled into
  /// sight. Its cost does not grow with the rows.
  void Sync();
  /// Takes the tree view's selected row (as chosen by the user) into the model.
  void TakeSelection();
  /// Puts the model's selected row into the tree view's selection and scrolls to it.
  void ApplySelection();
  /// True while the view changes the tree view's selection itself.
  bool ApplyingSelection() const { return applying_selection_; }

 private:
  /// What a column's cell data function reads from: this view and the column's index.
  struct ColumnSource {
    ResultListView* View = nullptr;
    int Column = 0;
  };

  void BuildControls(GtkFixed* area, int width, int height);
  void BuildScrolling();
  void BuildColumns(const PangoFontDescription* font);
  GtkTreeViewColumn* NewColumn(int column);
  static gboolean OnQueryTooltip(GtkWidget* widget, gint x, gint y, gboolean keyboard,
                                 GtkTooltip* tooltip, gpointer self);
  static void CellData(GtkTreeViewColumn* view_column, GtkCellRenderer* renderer,
                       GtkTreeModel* store, GtkTreeIter* iter, gpointer source);
  static gboolean OnKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean OnWheel(GtkWidget* widget, GdkEventScroll* event, gpointer self);
  static void OnScrollbar(GtkAdjustment* scroll, gpointer self);
  static void OnAllocated(GtkWidget* widget, GtkAllocation* allocation, gpointer self);
  static void OnTreeScrolled(GtkAdjustment* scroll, gpointer self);
  void ShowCell(GtkCellRenderer* renderer, int32_t row, int column);
  void RedrawChangedRows();
  void ShowCaptionTooltip();
  int32_t ShownSelection() const;
  /// The rows' area height and one row's, in pixels.
  int RowsHeight() const;
  int RowHeight() const;
  void MeasureSight();
  void FitSight();
  /// Brings the tree view's rows, the scrollbar and the selection shown up to `window_`.
  void ShowWindow();
  void ShowScrollbarWhenNeeded();
  void ShowSelectionInWindow();
  void DropCursor();
  void MoveSelection(RowKey key);

  ResultList& list_;
  GtkWidget* container_ = nullptr;
  GtkWidget* inner_ = nullptr;
  GtkLabel* caption_ = nullptr;
  std::string main_file_;  ///< the main file's line of the caption's tooltip, as displayed
  GtkWidget* area_ = nullptr;      // the tree view's scrolled window beside the scrollbar
  GtkWidget* scrolled_ = nullptr;  // scrolls the tree view across, never down
  GtkWidget* scrollbar_ = nullptr;
  GtkAdjustment* scroll_ = nullptr;  // the scrollbar's: the first row over the list's rows
  GtkTreeView* list_view_ = nullptr;
  GtkTreeModel* rows_ = nullptr;  // the row-index model: the rows in sight, from `window_`
  RowWindow window_;
  int32_t shown_first_ = 0;     // the first row the tree view's rows were last drawn from
  mutable int row_height_ = 0;  // measured from a row of the tree view; 0 until then
  int border_x_ = 0;  // frame thickness: positions are given from the panel's outer edge
  int border_y_ = 0;
  bool applying_selection_ = false;
  bool showing_window_ = false;  // the view sets the scrollbar itself
  int32_t applied_selection_ = -2;  // model row last put into the tree view's selection
  std::array<ColumnSource, ResultColumns> sources_{};
  std::string cell_text_;  // the drawn cell's text as displayed, reused for every cell
};
