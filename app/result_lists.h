// The result lists of the window and their history: the shell's `ListHistory` together with
// one on-screen view per list and the "List:" selector that names them.
#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/result_list_view.h"
#include "listings/list_history.h"

/// Keeps the views and the selector in step with the history: every list that the history
/// opens gets its view at once, shown in place of the others.
class ResultLists {
 public:
  /// Inner size of the main window, width and height.
  using WindowSize = std::function<void(int& width, int& height)>;
  /// Called for each new view, so the window can connect its signals.
  using ViewCreated = std::function<void(ResultListView&)>;

  /// Views go into `area`, entries into `selector`; rows are drawn in `font`.
  ResultLists(GtkFixed* area, GtkComboBox* selector, const PangoFontDescription* font,
              WindowSize window_size, ViewCreated view_created);
  ResultLists(const ResultLists&) = delete;
  ResultLists& operator=(const ResultLists&) = delete;

  /// The history of the lists.
  ListHistory& History() { return history_; }
  const ListHistory& History() const { return history_; }
  /// View of the current list; nullptr when none is current.
  ResultListView* CurrentView();
  /// View of `list`; nullptr when it has none.
  ResultListView* ViewOf(const ResultList& list);

  /// Hides the current list and opens a new, visible and current one after the last.
  ResultList& OpenResultList(ListKind kind, std::string_view subject);
  /// Rebuilds the selector from the history without raising its change signal and makes the
  /// last list current and selected.
  void RefreshListSelector();
  /// Destroys the current list's view and removes the list; the one before becomes current.
  void CloseCurrentResultList();
  /// Closes every list, the first to the last.
  void CloseAll();
  /// Hides the current list and shows the one at `index` instead; out of range changes
  /// nothing, so a list always stays current and visible.
  void ShowEntry(int index);
  /// Shows the current list and gives it the keyboard focus.
  void ShowCurrent();
  /// Sets the tooltip of every list's caption, now and of the lists opened later.
  void SetCaptionTooltip(const std::string& text);
  /// Gives the current list the keyboard focus, its cursor on its selected row.
  void FocusCurrent();
  /// Fits the current list to a window of inner size `width` x `height`.
  void ResizeCurrent(int width, int height);
  /// Brings every view up to its list.
  void Sync();
  /// Sets the selector back to the current list.
  void SelectCurrentEntry();
  /// True while the selector is changed from here, not by the user.
  bool ChangingSelector() const { return changing_selector_; }

 private:
  void ListOpened(ResultList& list);
  void ShowOnlyCurrent();

  GtkFixed* area_;
  GtkComboBox* selector_;
  const PangoFontDescription* font_;
  WindowSize window_size_;
  ViewCreated view_created_;
  ListHistory history_;
  std::map<const ResultList*, std::unique_ptr<ResultListView>> views_;
  bool changing_selector_ = false;
  std::string caption_tooltip_;
};
