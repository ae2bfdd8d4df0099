// The main window: the toolbar row and the area of the result lists, and the routing of
// events: the thin handlers that turn control events, the rows' menu and keys into the
// commands of the window's command table.
#pragma once

#include <gtk/gtk.h>

#include <string>

#include "app/command_context.h"
#include "app/result_lists.h"
#include "app/row_menu.h"
#include "app/toolbar.h"
#include "app/window_listing_run.h"
#include "listings/project.h"

/// The one main window of the program with the first result list, "Procedures", open.
class MainWindow final : public CommandContext {
 public:
  /// Builds the window (not yet shown) with rows drawn in `result_font`.
  explicit MainWindow(const PangoFontDescription* result_font);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() override;

  /// Shows the window with its toolbar and the current list.
  void Show() {
    gtk_widget_show(area_);
    gtk_widget_show(window_);
  }

  /// The Stop poll of a running listing (see `WindowListingRun::PollStop`).
  bool PollStop() { return run_.PollStop(); }

  /// Runs `listing` as a listing: events other than a Stop click have no effect while it
  /// runs; the lists are mirrored completely before it returns.
  template <typename Listing>
  auto RunListing(Listing listing) {
    const WindowListingRun::Scope scope(run_);
    return listing();
  }
  void RunListing(const std::function<void()>& listing) override { RunListing<>(listing); }

  GtkWindow* Window() const override { return GTK_WINDOW(window_); }
  /// The toolbar controls.
  const Toolbar& Controls() const { return toolbar_; }
  ResultLists& Lists() override { return lists_; }
  Project& TakenUp() override { return project_; }
  ListingHost& Host() override { return run_; }
  const std::string& SearchTerm() const override { return search_term_; }
  void SetSearchTerm(const std::string& term) override { search_term_ = term; }
  /// True once the window was asked to close outside a listing.
  bool QuitRequested() const { return quit_requested_; }
  /// True while a listing runs.
  bool ListingRuns() const { return run_.Runs(); }
  /// The menu of the result rows.
  const RowMenu& RowCommands() const { return row_menu_; }

  /// Enables Back exactly when the current list is not the first of the history.
  void UpdateBackState();
  /// Fits the current list to the window's present inner size.
  void FitCurrentList();
  /// Asks for `FitCurrentList` once the loop is idle again, as a size event would.
  void PostSizeEvent() override;

 private:
  void ConnectSignals();
  void ConnectView(ResultListView& view);
  void InnerSize(int& width, int& height) const;
  void RunCommand(const WindowCommand& command);

  static void OnEvent(GdkEvent* event, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self);
  static gboolean OnPostedSize(gpointer self);
  static void OnButton(GtkButton* button, gpointer self);
  static void OnChecksItem(GtkMenuItem* item, gpointer self);
  static void OnSelectorChanged(GtkComboBox*, gpointer self);
  static void OnRowSelection(GtkTreeSelection* selection, gpointer self);
  static gboolean OnListPress(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnListRelease(GtkWidget*, GdkEventButton* event, gpointer self);
  static gboolean OnListPopupMenu(GtkWidget*, gpointer self);
  static gboolean OnListKey(GtkWidget*, GdkEventKey* event, gpointer self);

  const PangoFontDescription* result_font_;
  GtkWidget* window_ = nullptr;
  GtkWidget* area_ = nullptr;
  Toolbar toolbar_;
  ResultLists lists_;
  Project project_;
  std::string search_term_;
  bool quit_requested_ = false;
  bool double_click_pending_ = false;
  guint posted_size_ = 0;
  WindowListingRun run_;
  RowMenu row_menu_;
};
