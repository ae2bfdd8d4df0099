// The main window: the toolbar row, the area of the result lists, the thin handlers that
// turn control events (and the rows' menu and keys) into commands, and the host side of a running listing (the Stop
// poll, the Stop button, the clipboard).
#pragma once

#include <gtk/gtk.h>

#include <string>
#include <string_view>

#include "app/command_context.h"
#include "app/commands.h"
#include "app/poll_schedule.h"
#include "app/result_lists.h"
#include "app/row_menu.h"
#include "listings/listing_host.h"
#include "listings/project.h"

/// The controls of the toolbar row.
struct Toolbar {
  GtkWidget* Open = nullptr;
  GtkWidget* Back = nullptr;
  GtkWidget* JumpToLine = nullptr;
  GtkWidget* AllProcCalls = nullptr;
  GtkWidget* Search = nullptr;
  GtkWidget* StopButton = nullptr;
  GtkWidget* ListLabel = nullptr;
  GtkWidget* ListSelector = nullptr;
  GtkWidget* LogoButton = nullptr;  ///< nullptr when the logo could not be decoded
  GtkWidget* ChecksButton = nullptr;  ///< opens `ChecksMenu`
  GtkWidget* ChecksMenu = nullptr;    ///< the checks: "Unused...", "Declare check..."
};

/// Sets `button`'s image, its label and the side of the label where the image stands.
void SetButtonIcon(GtkButton* button, GtkWidget* image, const char* label,
                   GtkPositionType position);

/// The one main window of the program with the first result list, "Procedures", open.
class MainWindow final : public ListingHost, public CommandContext {
 public:
  /// Builds the window (not yet shown) with rows drawn in `result_font`.
  explicit MainWindow(const PangoFontDescription* result_font);
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() override;

  /// Shows the window with its toolbar and the current list.
  void Show();

  /// Lets the window work after about every 14 ms of listing work (events, redraws, a batch
  /// of the lists' new rows); true once Stop was clicked (after the "Abbruch!" message).
  /// Other events have no effect.
  bool PollStop() override;
  void SetStopEnabled(bool enabled) override;
  /// Puts `text` (converted for display) on the clipboard selection and asks for it to be
  /// stored beyond the program's end.
  void PutOnClipboard(std::string_view text) override;

  /// Runs `listing` as a listing: events other than a Stop click have no effect while it
  /// runs; the lists are mirrored completely before it returns.
  template <typename Listing>
  auto RunListing(Listing listing) {
    ListingScope scope(*this);
    return listing();
  }
  void RunListing(const std::function<void()>& listing) override { RunListing<>(listing); }

  GtkWindow* Window() const override { return GTK_WINDOW(window_); }
  /// The toolbar controls.
  const Toolbar& Controls() const { return toolbar_; }
  ResultLists& Lists() override { return lists_; }
  Project& TakenUp() override { return project_; }
  ListingHost& Host() override { return *this; }
  const std::string& SearchTerm() const override { return search_term_; }
  void SetSearchTerm(const std::string& term) override { search_term_ = term; }
  /// True once the window was asked to close outside a listing.
  bool QuitRequested() const { return quit_requested_; }
  /// True while a listing runs.
  bool ListingRuns() const { return listing_runs_; }
  /// The menu of the result rows.
  const RowMenu& RowCommands() const { return row_menu_; }

  /// Enables Back exactly when the current list is not the first of the history.
  void UpdateBackState();
  /// Fits the current list to the window's present inner size.
  void FitCurrentList();
  /// Asks for `FitCurrentList` once the loop is idle again, as a size event would.
  void PostSizeEvent() override;

 private:
  /// Marks a listing as running for its lifetime and mirrors the lists at its end.
  class ListingScope {
   public:
    explicit ListingScope(MainWindow& window);
    ListingScope(const ListingScope&) = delete;
    ListingScope& operator=(const ListingScope&) = delete;
    ~ListingScope();

   private:
    MainWindow& window_;
    bool outer_;
  };

  void BuildWindow();
  void BuildToolbar();
  GtkWidget* AddButton(const char* label, const char* stock_id, int x, int width,
                       const char* tooltip);
  Command CommandOf(const GtkWidget* control) const;
  void AddListSelector();
  void AddLogoButton();
  void AddChecksMenu();
  void ConnectSignals();
  void ConnectView(ResultListView& view);
  void ApplyWindowFunctions();
  void InnerSize(int& width, int& height) const;
  bool PumpEvents();
  void SyncInParts();
  void HandlePendingEvents();
  void RunCommand(Command command);

  static void OnEvent(GdkEvent* event, gpointer self);
  static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer self);
  static gboolean OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self);
  static gboolean OnPostedSize(gpointer self);
  static void OnButton(GtkButton* button, gpointer self);
  static void OnChecksButton(GtkButton* button, gpointer self);
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
  bool listing_runs_ = false;
  bool stop_clicked_ = false;
  bool double_click_pending_ = false;
  PollSchedule poll_schedule_;
  guint posted_size_ = 0;
  RowMenu row_menu_;
};
