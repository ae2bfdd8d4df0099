// The on-screen side of one result list: a sunken panel with the caption and a tree view
// over a model of row indices, which reads the list's texts and colours when it draws.
#pragma once

#include <gtk/gtk.h>

#include <array>
#include <string>

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
  /// The tree view of the rows.
  GtkTreeView* ListView() const { return list_view_; }
  /// The scrolled area that holds the tree view and takes the list's size and place.
  GtkWidget* ScrolledArea() const { return scrolled_; }
  /// The caption label.
  GtkLabel* Caption() const { return caption_; }

  /// Shows the panel and gives the tree view the keyboard focus; a hidden list's tree view
  /// gets its rows back first, at the same selection and top row.
  void Show();
  /// Hides the panel and takes the rows from its tree view, so a list out of sight costs
  /// the toolkit nothing per row.
  void Hide();
  /// Shows `text` (which main file is in use; source bytes, converted for display) in the
  /// caption's tooltip, after the caption's own text.
  void SetCaptionTooltip(const std::string& text);
  /// Fits the panel and the list to a window of inner size `width` x `height`.
  void Resize(int width, int height);
  /// Brings the view up to the model: caption, new rows (announced to the tree view, no
  /// copies), changed rows drawn again, and the model's selected row selected and
  /// scrolled into view.
  void Sync();
  /// `Sync` in part: new rows are announced only until the monotonic clock
  /// (`g_get_monotonic_time`) reaches `deadline`, at least a few; the newest announced row
  /// stands in for a selected row not yet announced. True when every row is announced.
  bool SyncUntil(gint64 deadline);
  /// Rows of the list that the tree view has not been told of yet; none while hidden.
  int32_t WaitingRows() const;
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
  void BuildColumns(const PangoFontDescription* font);
  GtkTreeViewColumn* NewColumn(int column);
  static gboolean OnQueryTooltip(GtkWidget* widget, gint x, gint y, gboolean keyboard,
                                 GtkTooltip* tooltip, gpointer self);
  static void CellData(GtkTreeViewColumn* view_column, GtkCellRenderer* renderer,
                       GtkTreeModel* store, GtkTreeIter* iter, gpointer source);
  void ShowCell(GtkCellRenderer* renderer, int32_t row, int column);
  void RedrawChangedRows();
  /// True when the rows waiting are better given to the tree view by attaching anew.
  bool TakesBacklogAtOnce() const;
  void ShowCaptionTooltip();
  int32_t ShownSelection() const;
  void Attach();
  void Detach();

  ResultList& list_;
  GtkWidget* container_ = nullptr;
  GtkWidget* inner_ = nullptr;
  GtkLabel* caption_ = nullptr;
  std::string main_file_;  ///< the main file's line of the caption's tooltip, as displayed
  GtkWidget* scrolled_ = nullptr;
  GtkTreeView* list_view_ = nullptr;
  GtkTreeModel* rows_ = nullptr;  // the row-index model; rows announced as the list grows
  int border_x_ = 0;  // frame thickness: positions are given from the panel's outer edge
  int border_y_ = 0;
  bool applying_selection_ = false;
  int32_t applied_selection_ = -2;  // model row last put into the tree view's selection
  bool attached_ = true;            // the tree view shows `rows_`
  int top_row_ = -1;                // first row in sight when the rows were taken away
  std::array<ColumnSource, ResultColumns> sources_{};
  std::string cell_text_;  // the drawn cell's text as displayed, reused for every cell
};
