#include "app/main_window.h"

#include <gdk/gdkkeysyms.h>

#include "app/dialogs.h"
#include "app/logo_data.h"
#include "listings/display_text.h"

namespace {

constexpr int kInnerWidth = 1000;
constexpr int kInnerHeight = 610;
constexpr int kMinWidth = 800;
constexpr int kMinHeight = 300;
constexpr int kButtonY = 2;
constexpr int kButtonHeight = 28;

// Longest time one part of announcing new rows to the views may take before the window
// works; a row takes about a microsecond.
constexpr gint64 kSyncPartMicroseconds = 8000;
// Longest time one pump may spend on events, so a flood of them cannot hold up a listing.
constexpr gint64 kPumpLimitMicroseconds = 20000;

// Tooltips, held as ISO-8859-15 bytes like every literal of the program.
constexpr char kOpenTip[] = "L\xF6scht vorherige Liste und \xF6" "ffnet neue Hauptdatei...";
constexpr char kBackTip[] = "Zeigt vorherige und schlie\xDFt aktuelle Liste";
constexpr char kJumpTip[] =
    "\xD6" "ffnet bei Bedarf den PureBasic-Editor und setzt Cursor auf Zeile der akt. "
    "Selektion...";
constexpr char kAllCallsTip[] =
    "Listet aus aktueller Hauptdatei und Includes alle Proceduren und deren Aufrufe";
constexpr char kSearchTip[] = "Sucht und listet aus aktueller Datei alle Proceduren bzw. Variablen";

/// One button of the toolbar row: how it looks, where it stands and what it does.
struct ToolbarButton {
  const char* Label;
  const char* StockId;
  int X;
  int Width;
  const char* Tooltip;          ///< nullptr for none
  GtkWidget* Toolbar::*Widget;  ///< where the window keeps the button
  Command Run;                  ///< nullptr for Stop, which only asks a listing to stop
};

const ToolbarButton kToolbarButtons[] = {
    {"Open", GTK_STOCK_OPEN, 5, 80, kOpenTip, &Toolbar::Open, RunOpen},
    {"Back", GTK_STOCK_GO_BACK, 90, 80, kBackTip, &Toolbar::Back, RunBack},
    {"Jump to Line", GTK_STOCK_JUMP_TO, 175, 110, kJumpTip, &Toolbar::JumpToLine, RunJumpToLine},
    {"All Proc-Calls", GTK_STOCK_INDEX, 290, 110, kAllCallsTip, &Toolbar::AllProcCalls,
     RunAllProcCalls},
    {"Search...", GTK_STOCK_FIND, 405, 80, kSearchTip, &Toolbar::Search, RunSearch},
    {"Stop", GTK_STOCK_STOP, 490, 80, nullptr, &Toolbar::StopButton, nullptr},
};

// The rest of the toolbar row, right of the buttons.
constexpr int kListLabelX = 572;
constexpr int kListSelectorX = 605;
constexpr int kLogoX = 765;

// The checks menu's button, at the free right end of the row after the logo.
constexpr int kChecksX = 796;
constexpr int kChecksWidth = 90;
constexpr char kChecksTip[] = "Listet unbenutzte Proceduren und pr\xFC" "ft die Declares";

/// One entry of the checks menu.
struct ChecksEntry {
  const char* Label;
  Command Run;
};

const ChecksEntry kChecksEntries[] = {
    {"Unused...", RunUnused},
    {"Declare check...", RunDeclareCheck},
};

constexpr char kChecksEntryKey[] = "pbst-checks-entry";

// Puts the menu under the button that opened it.
void BelowButton(GtkMenu*, gint* x, gint* y, gboolean* push_in, gpointer button) {
  GtkWidget* widget = GTK_WIDGET(button);
  gdk_window_get_origin(widget->window, x, y);
  *x += widget->allocation.x;
  *y += widget->allocation.y + widget->allocation.height;
  *push_in = TRUE;
}

// The toolbar's labels are set a size smaller than the theme's, so that each label fits
// beside its icon within the fixed button widths.
constexpr char kToolbarStyle[] =
    "style \"pbst-toolbar\" { font_name = \"Sans 9\" }\n"
    "widget \"*.pbst-toolbar-button*\" style \"pbst-toolbar\"\n";

GtkWidget* NewWindow() {
  gtk_rc_parse_string(kToolbarStyle);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "PB Sourcetrek");
  gtk_window_set_default_size(GTK_WINDOW(window), kInnerWidth, kInnerHeight);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  GdkGeometry hints{};
  hints.min_width = kMinWidth;
  hints.min_height = kMinHeight;
  gtk_window_set_geometry_hints(GTK_WINDOW(window), nullptr, &hints, GDK_HINT_MIN_SIZE);
  return window;
}

GtkWidget* NewArea(GtkWidget* window) {
  GtkWidget* area = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), area);
  return area;
}

Toolbar ToolbarWithSelector() {
  Toolbar toolbar;
  toolbar.ListSelector = gtk_combo_box_text_new();
  return toolbar;
}

GdkPixbuf* DecodeLogo() {
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("png", nullptr);
  if (loader == nullptr) return nullptr;
  const bool written = gdk_pixbuf_loader_write(loader, LogoPng, LogoPngSize, nullptr);
  const bool closed = gdk_pixbuf_loader_close(loader, nullptr);
  GdkPixbuf* logo = written && closed ? gdk_pixbuf_loader_get_pixbuf(loader) : nullptr;
  if (logo != nullptr) g_object_ref(logo);
  g_object_unref(loader);
  return logo;
}

// Entries wider than the selector end in an ellipsis instead of being cut off mid-word.
void EllipsizeEntries(GtkCellLayout* selector) {
  GList* cells = gtk_cell_layout_get_cells(selector);
  for (GList* cell = cells; cell != nullptr; cell = cell->next) {
    g_object_set(cell->data, "ellipsize", PANGO_ELLIPSIZE_END, nullptr);
  }
  g_list_free(cells);
}

// GTK's own handling of an event, which is back in charge once the window is gone.
void PassEventOn(GdkEvent* event, gpointer) { gtk_main_do_event(event); }

}  // namespace

void SetButtonIcon(GtkButton* button, GtkWidget* image, const char* label,
                   GtkPositionType position) {
  gtk_button_set_image(button, image);
  gtk_button_set_label(button, label);
  gtk_button_set_image_position(button, position);
}

MainWindow::MainWindow(const PangoFontDescription* result_font)
    : result_font_(result_font),
      window_(NewWindow()),
      area_(NewArea(window_)),
      toolbar_(ToolbarWithSelector()),
      lists_(
          GTK_FIXED(area_), GTK_COMBO_BOX(toolbar_.ListSelector), result_font,
          [this](int& width, int& height) { InnerSize(width, height); },
          [this](ResultListView& view) { ConnectView(view); }),
      row_menu_(*this, [this](Command command) { RunCommand(command); }) {
  g_object_ref_sink(toolbar_.ListSelector);
  lists_.OpenResultList(ListKind::Procedures, "Procedures");
  BuildToolbar();
  ConnectSignals();
  gtk_widget_realize(window_);
  ApplyWindowFunctions();
  gdk_event_handler_set(&MainWindow::OnEvent, this, nullptr);
}

MainWindow::~MainWindow() {
  gdk_event_handler_set(&PassEventOn, nullptr, nullptr);
  if (posted_size_ != 0) g_source_remove(posted_size_);
  lists_.CloseAll();
  gtk_widget_destroy(toolbar_.ChecksMenu);
  gtk_widget_destroy(window_);
  g_object_unref(toolbar_.ListSelector);
}

void MainWindow::Show() {
  gtk_widget_show(area_);
  gtk_widget_show(window_);
}

void MainWindow::ApplyWindowFunctions() {
  // Resizable, movable and closable, with title, menu and border: no minimise or maximise.
  gdk_window_set_decorations(
      window_->window,
      GdkWMDecoration(GDK_DECOR_BORDER | GDK_DECOR_RESIZEH | GDK_DECOR_TITLE | GDK_DECOR_MENU));
  gdk_window_set_functions(window_->window,
                           GdkWMFunction(GDK_FUNC_RESIZE | GDK_FUNC_MOVE | GDK_FUNC_CLOSE));
}

void MainWindow::BuildToolbar() {
  for (const ToolbarButton& button : kToolbarButtons) {
    toolbar_.*button.Widget =
        AddButton(button.Label, button.StockId, button.X, button.Width, button.Tooltip);
  }
  AddListSelector();
  AddLogoButton();
  AddChecksMenu();
  gtk_widget_set_sensitive(toolbar_.StopButton, FALSE);
}

GtkWidget* MainWindow::AddButton(const char* label, const char* stock_id, int x, int width,
                                 const char* tooltip) {
  GtkWidget* button = gtk_button_new_with_label(label);
  gtk_widget_set_name(button, "pbst-toolbar-button");
  gtk_widget_set_size_request(button, width, kButtonHeight);
  gtk_fixed_put(GTK_FIXED(area_), button, x, kButtonY);
  SetButtonIcon(GTK_BUTTON(button), gtk_image_new_from_stock(stock_id, GTK_ICON_SIZE_MENU),
                label, GTK_POS_LEFT);
  if (tooltip != nullptr) gtk_widget_set_tooltip_text(button, ToDisplayText(tooltip).c_str());
  gtk_widget_show(button);
  return button;
}

void MainWindow::AddListSelector() {
  toolbar_.ListLabel = gtk_label_new("List:");
  gtk_misc_set_alignment(GTK_MISC(toolbar_.ListLabel), 1.0f, 0.0f);
  gtk_widget_set_size_request(toolbar_.ListLabel, 30, 24);
  gtk_fixed_put(GTK_FIXED(area_), toolbar_.ListLabel, kListLabelX, 8);
  gtk_widget_set_size_request(toolbar_.ListSelector, 150, 28);
  EllipsizeEntries(GTK_CELL_LAYOUT(toolbar_.ListSelector));
  gtk_fixed_put(GTK_FIXED(area_), toolbar_.ListSelector, kListSelectorX, kButtonY);
  gtk_widget_show(toolbar_.ListLabel);
  gtk_widget_show(toolbar_.ListSelector);
}

void MainWindow::AddLogoButton() {
  GdkPixbuf* logo = DecodeLogo();
  if (logo == nullptr) return;
  toolbar_.LogoButton = gtk_button_new();
  gtk_container_add(GTK_CONTAINER(toolbar_.LogoButton), gtk_image_new_from_pixbuf(logo));
  g_object_unref(logo);
  gtk_widget_set_size_request(toolbar_.LogoButton, 26, 26);
  gtk_fixed_put(GTK_FIXED(area_), toolbar_.LogoButton, kLogoX, kButtonY);
  gtk_widget_show_all(toolbar_.LogoButton);
}

void MainWindow::AddChecksMenu() {
  toolbar_.ChecksButton = AddButton("Checks", GTK_STOCK_GO_DOWN, kChecksX, kChecksWidth, kChecksTip);
  gtk_button_set_image_position(GTK_BUTTON(toolbar_.ChecksButton), GTK_POS_RIGHT);
  toolbar_.ChecksMenu = gtk_menu_new();
  for (const ChecksEntry& entry : kChecksEntries) {
    GtkWidget* item = gtk_menu_item_new_with_label(entry.Label);
    g_object_set_data(G_OBJECT(item), kChecksEntryKey, const_cast<ChecksEntry*>(&entry));
    g_signal_connect(item, "activate", G_CALLBACK(&MainWindow::OnChecksItem), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(toolbar_.ChecksMenu), item);
  }
  gtk_widget_show_all(toolbar_.ChecksMenu);
  gtk_menu_attach_to_widget(GTK_MENU(toolbar_.ChecksMenu), toolbar_.ChecksButton, nullptr);
}

void MainWindow::ConnectSignals() {
  g_signal_connect(window_, "delete-event", G_CALLBACK(&MainWindow::OnDelete), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(&MainWindow::OnConfigure), this);
  for (const ToolbarButton& button : kToolbarButtons) {
    g_signal_connect(toolbar_.*button.Widget, "clicked", G_CALLBACK(&MainWindow::OnButton), this);
  }
  if (toolbar_.LogoButton != nullptr) {
    g_signal_connect(toolbar_.LogoButton, "clicked", G_CALLBACK(&MainWindow::OnButton), this);
  }
  g_signal_connect(toolbar_.ListSelector, "changed", G_CALLBACK(&MainWindow::OnSelectorChanged),
                   this);
  g_signal_connect(toolbar_.ChecksButton, "clicked", G_CALLBACK(&MainWindow::OnChecksButton), this);
}

void MainWindow::ConnectView(ResultListView& view) {
  g_signal_connect(gtk_tree_view_get_selection(view.ListView()), "changed",
                   G_CALLBACK(&MainWindow::OnRowSelection), this);
  g_signal_connect(view.ListView(), "button-press-event", G_CALLBACK(&MainWindow::OnListPress),
                   this);
  g_signal_connect(view.ListView(), "button-release-event",
                   G_CALLBACK(&MainWindow::OnListRelease), this);
  g_signal_connect(view.ListView(), "popup-menu", G_CALLBACK(&MainWindow::OnListPopupMenu), this);
  g_signal_connect(view.ListView(), "key-press-event", G_CALLBACK(&MainWindow::OnListKey), this);
}

void MainWindow::InnerSize(int& width, int& height) const {
  gtk_window_get_size(GTK_WINDOW(window_), &width, &height);
}

void MainWindow::UpdateBackState() {
  gtk_widget_set_sensitive(toolbar_.Back, lists_.History().CurrentIndex() > 0);
}

void MainWindow::FitCurrentList() {
  int width = 0;
  int height = 0;
  InnerSize(width, height);
  lists_.ResizeCurrent(width, height);
}

void MainWindow::PostSizeEvent() {
  if (posted_size_ == 0) posted_size_ = g_idle_add(&MainWindow::OnPostedSize, this);
}

// The window works after every 14 ms of listing work, or sooner once the rows waiting for
// the view would take it about 8 ms to announce: often enough to answer a Stop click and
// to show the newest row within 50 ms, rarely enough to cost a listing next to nothing.
bool MainWindow::PollStop() {
  if (!poll_schedule_.Due(g_get_monotonic_time, [this] { return lists_.WaitingRows(); })) {
    return false;
  }
  const bool stop = PumpEvents();
  poll_schedule_.Worked(g_get_monotonic_time());
  return stop;
}

bool MainWindow::PumpEvents() {
  SyncInParts();
  if (!stop_clicked_) return false;
  stop_clicked_ = false;
  ShowMessage(Window(), "Abbruch!");
  return true;
}

// The views take every new row before the listing goes on, so what the window draws, and
// the list behind "Abbruch!", is the list as the listing left it. The rows are announced in
// parts with the window working after each, so many new rows cannot hold it up.
void MainWindow::SyncInParts() {
  bool all_rows = false;
  while (!all_rows) {
    all_rows = lists_.SyncUntil(g_get_monotonic_time() + kSyncPartMicroseconds);
    HandlePendingEvents();
  }
}

void MainWindow::HandlePendingEvents() {
  const gint64 start = g_get_monotonic_time();
  while (gtk_events_pending() && g_get_monotonic_time() - start < kPumpLimitMicroseconds) {
    gtk_main_iteration_do(FALSE);
  }
}

void MainWindow::SetStopEnabled(bool enabled) {
  gtk_widget_set_sensitive(toolbar_.StopButton, enabled);
}

void MainWindow::PutOnClipboard(std::string_view text) {
  GtkClipboard* clipboard = gtk_clipboard_get(GDK_SELECTION_CLIPBOARD);
  const std::string display_text = ToDisplayText(text);
  gtk_clipboard_set_text(clipboard, display_text.c_str(), static_cast<gint>(display_text.size()));
  gtk_clipboard_store(clipboard);
}

MainWindow::ListingScope::ListingScope(MainWindow& window)
    : window_(window), outer_(!window.listing_runs_) {
  if (!outer_) return;
  // The run reads the files the user changed since the last one, and only those.
  window_.project_.Texts.DropChanged();
  window_.listing_runs_ = true;
  window_.poll_schedule_.Start(g_get_monotonic_time());
}

MainWindow::ListingScope::~ListingScope() {
  if (!outer_) return;
  // The window works once more before the listing counts as ended: a command that runs two
  // listings in a row (a lookup, then a term search) would otherwise keep it waiting for
  // both.
  window_.SyncInParts();
  window_.listing_runs_ = false;
  window_.stop_clicked_ = false;
  window_.lists_.Sync();
}

// Every event passes here: after it, Back shows whether there is a list to go back to.
void MainWindow::OnEvent(GdkEvent* event, gpointer self) {
  gtk_main_do_event(event);
  static_cast<MainWindow*>(self)->UpdateBackState();
}

gboolean MainWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  // A close request while a listing runs is dropped: the window stays open.
  if (window.listing_runs_) return TRUE;
  window.quit_requested_ = true;
  if (gtk_main_level() > 0) gtk_main_quit();
  return TRUE;
}

gboolean MainWindow::OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (!window.listing_runs_) window.lists_.ResizeCurrent(event->width, event->height);
  return FALSE;
}

gboolean MainWindow::OnPostedSize(gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  window.posted_size_ = 0;
  if (!window.listing_runs_) window.FitCurrentList();
  return FALSE;
}

// The command of a toolbar control; nullptr for Stop.
Command MainWindow::CommandOf(const GtkWidget* control) const {
  if (control == toolbar_.LogoButton) return RunAbout;
  for (const ToolbarButton& button : kToolbarButtons) {
    if (toolbar_.*button.Widget == control) return button.Run;
  }
  return nullptr;
}

void MainWindow::OnButton(GtkButton* button, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  const Command command = window.CommandOf(GTK_WIDGET(button));
  if (command == nullptr) {
    window.stop_clicked_ = window.listing_runs_;
    return;
  }
  if (window.listing_runs_) return;
  command(window);
  window.UpdateBackState();
}

void MainWindow::OnChecksButton(GtkButton* button, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (window.listing_runs_) return;
  gtk_menu_popup(GTK_MENU(window.toolbar_.ChecksMenu), nullptr, nullptr, &BelowButton, button, 0,
                 gtk_get_current_event_time());
}

void MainWindow::OnChecksItem(GtkMenuItem* item, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  const auto* entry = static_cast<const ChecksEntry*>(g_object_get_data(G_OBJECT(item), kChecksEntryKey));
  if (entry != nullptr) window.RunCommand(entry->Run);
}

// A command that a menu item or a row key asks for; none while a listing runs.
void MainWindow::RunCommand(Command command) {
  if (listing_runs_) return;
  command(*this);
  UpdateBackState();
}

void MainWindow::OnSelectorChanged(GtkComboBox* selector, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (window.lists_.ChangingSelector()) return;
  // While a listing runs the choice has no effect, so the selector goes back to the list
  // on screen.
  if (window.listing_runs_) {
    window.lists_.SelectCurrentEntry();
    return;
  }
  ShowSelectedList(window, gtk_combo_box_get_active(selector));
  window.UpdateBackState();
}

// Only the list on screen can be clicked; selections that a view makes itself, or that
// reach hidden lists, are not the user's.
void MainWindow::OnRowSelection(GtkTreeSelection* selection, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  ResultListView* view = window.lists_.CurrentView();
  if (view == nullptr || view->ApplyingSelection() ||
      gtk_tree_view_get_selection(view->ListView()) != selection) {
    return;
  }
  if (window.listing_runs_) {
    view->ApplySelection();
  } else {
    view->TakeSelection();
  }
}

// A right-click selects the row under the pointer and opens the row menu for it.
gboolean MainWindow::OnListPress(GtkWidget* widget, GdkEventButton* event, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (event->button == 1 && event->type == GDK_2BUTTON_PRESS) window.double_click_pending_ = true;
  if (event->button != 3 || event->type != GDK_BUTTON_PRESS) return FALSE;
  GtkTreePath* path = nullptr;
  if (window.listing_runs_ ||
      !gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(widget), static_cast<gint>(event->x),
                                     static_cast<gint>(event->y), &path, nullptr, nullptr,
                                     nullptr)) {
    return TRUE;
  }
  gtk_tree_view_set_cursor(GTK_TREE_VIEW(widget), path, nullptr, FALSE);
  gtk_tree_path_free(path);
  window.row_menu_.Popup(event);
  return TRUE;
}

// The Menu key and Shift+F10 open the row menu for the selected row.
gboolean MainWindow::OnListPopupMenu(GtkWidget*, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (!window.listing_runs_) window.row_menu_.Popup(nullptr);
  return TRUE;
}

// Return does what a double-click does; Ctrl+C copies the selected row.
gboolean MainWindow::OnListKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  const bool control = (event->state & GDK_CONTROL_MASK) != 0;
  Command command = nullptr;
  if (event->keyval == GDK_Return || event->keyval == GDK_KP_Enter ||
      event->keyval == GDK_ISO_Enter) {
    command = ListCallsOfSelectedRow;
  } else if (control && (event->keyval == GDK_c || event->keyval == GDK_C)) {
    command = CopySelectedRow;
  }
  if (command == nullptr) return FALSE;
  window.RunCommand(command);
  return TRUE;
}

// A double-click counts when its button is released over the list.
gboolean MainWindow::OnListRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (event->button != 1 || !window.double_click_pending_) return FALSE;
  window.double_click_pending_ = false;
  window.RunCommand(ListCallsOfSelectedRow);
  return FALSE;
}
