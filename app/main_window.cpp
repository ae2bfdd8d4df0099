#include "app/main_window.h"

#include "app/window_commands.h"
#include "app/window_frame.h"
#include "listings/listing_catalog.h"

namespace {

// GTK's own handling of an event, which is back in charge once the window is gone.
void PassEventOn(GdkEvent* event, gpointer) { gtk_main_do_event(event); }

}  // namespace

MainWindow::MainWindow(const PangoFontDescription* result_font)
    : result_font_(result_font),
      window_(NewMainFrame()),
      area_(NewArea(window_)),
      toolbar_(ToolbarWithSelector()),
      lists_(
          GTK_FIXED(area_), GTK_COMBO_BOX(toolbar_.ListSelector), result_font,
          [this](int& width, int& height) { InnerSize(width, height); },
          [this](ResultListView& view) { ConnectView(view); }),
      run_(GTK_WINDOW(window_), lists_, project_),
      row_menu_(*this, [this](const WindowCommand& command) { RunCommand(command); }) {
  g_object_ref_sink(toolbar_.ListSelector);
  const ListingEntry& procedures = CatalogListing("procedures");
  lists_.OpenResultList(procedures.Kind, procedures.Title);
  toolbar_ = BuildToolbar(GTK_FIXED(area_), toolbar_.ListSelector);
  run_.SetStopButton(toolbar_.StopButton);
  for (GtkWidget* control : ControlsLeftToRight(toolbar_)) {
    AppendToFocusChain(GTK_CONTAINER(area_), control);
  }
  // The first list was opened before the toolbar existed: it follows the controls.
  AppendToFocusChain(GTK_CONTAINER(area_), lists_.CurrentView()->Container());
  ConnectSignals();
  gtk_widget_realize(window_);
  ApplyWindowFunctions(window_);
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

void MainWindow::ConnectSignals() {
  g_signal_connect(window_, "delete-event", G_CALLBACK(&MainWindow::OnDelete), this);
  g_signal_connect(window_, "configure-event", G_CALLBACK(&MainWindow::OnConfigure), this);
  ForEachButton(toolbar_, [this](GtkWidget* button) {
    g_signal_connect(button, "clicked", G_CALLBACK(&MainWindow::OnButton), this);
  });
  GList* items = gtk_container_get_children(GTK_CONTAINER(toolbar_.ChecksMenu));
  for (GList* item = items; item != nullptr; item = item->next) {
    g_signal_connect(item->data, "activate", G_CALLBACK(&MainWindow::OnChecksItem), this);
  }
  g_list_free(items);
  g_signal_connect(toolbar_.ListSelector, "changed", G_CALLBACK(&MainWindow::OnSelectorChanged),
                   this);
}

// A new list follows the toolbar and the lists before it in the Tab order.
void MainWindow::ConnectView(ResultListView& view) {
  if (toolbar_.Open != nullptr) AppendToFocusChain(GTK_CONTAINER(area_), view.Container());
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

// Every event passes here: after it, Back shows whether there is a list to go back to.
void MainWindow::OnEvent(GdkEvent* event, gpointer self) {
  gtk_main_do_event(event);
  static_cast<MainWindow*>(self)->UpdateBackState();
}

gboolean MainWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  // A close request while a listing runs is dropped: the window stays open.
  if (window.ListingRuns()) return TRUE;
  window.quit_requested_ = true;
  if (gtk_main_level() > 0) gtk_main_quit();
  return TRUE;
}

gboolean MainWindow::OnConfigure(GtkWidget*, GdkEventConfigure* event, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (!window.ListingRuns()) window.lists_.ResizeCurrent(event->width, event->height);
  return FALSE;
}

gboolean MainWindow::OnPostedSize(gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  window.posted_size_ = 0;
  if (!window.ListingRuns()) window.FitCurrentList();
  return FALSE;
}

// Stop only asks a running listing to stop; Checks opens its menu; the others run their
// command, none while a listing runs.
void MainWindow::OnButton(GtkButton* button, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  const WindowCommand* command = ControlCommand(window.toolbar_, GTK_WIDGET(button));
  if (command == nullptr) return;
  if (command->Id == WindowCommandId::Stop) {
    window.run_.ClickStop();
  } else if (command->Id == WindowCommandId::Checks) {
    if (!window.ListingRuns()) PopUpChecksMenu(window.toolbar_);
  } else {
    window.RunCommand(*command);
  }
}

void MainWindow::OnChecksItem(GtkMenuItem* item, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  const WindowCommand* command = MenuItemCommand(item);
  if (command != nullptr) window.RunCommand(*command);
}

// A command that a control, a menu item or a row key asks for; none while a listing runs.
// The list on screen then has the keyboard focus, whichever list the command showed.
void MainWindow::RunCommand(const WindowCommand& command) {
  if (ListingRuns()) return;
  RunWindowCommand(command, *this);
  UpdateBackState();
  lists_.FocusCurrent();
}

void MainWindow::OnSelectorChanged(GtkComboBox* selector, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (window.lists_.ChangingSelector()) return;
  // While a listing runs the choice has no effect, so the selector goes back to the list
  // on screen.
  if (window.ListingRuns()) {
    window.lists_.SelectCurrentEntry();
    return;
  }
  ShowSelectedList(window, gtk_combo_box_get_active(selector));
  window.UpdateBackState();
  window.lists_.FocusCurrent();
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
  if (window.ListingRuns()) {
    view->ApplySelection();
  } else {
    view->TakeSelection();
  }
}

// A right-click selects the row under the pointer and opens the row menu for it; below
// the rows (or in an empty list) the menu is for the whole list.
gboolean MainWindow::OnListPress(GtkWidget* widget, GdkEventButton* event, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (event->button == 1 && event->type == GDK_2BUTTON_PRESS) window.double_click_pending_ = true;
  if (event->button != 3 || event->type != GDK_BUTTON_PRESS) return FALSE;
  if (window.ListingRuns()) return TRUE;
  GtkTreePath* path = nullptr;
  const bool on_row = gtk_tree_view_get_path_at_pos(
      GTK_TREE_VIEW(widget), static_cast<gint>(event->x), static_cast<gint>(event->y), &path,
      nullptr, nullptr, nullptr);
  if (on_row) {
    gtk_tree_view_set_cursor(GTK_TREE_VIEW(widget), path, nullptr, FALSE);
    gtk_tree_path_free(path);
  }
  window.row_menu_.Popup(event, on_row);
  return TRUE;
}

// The Menu key and Shift+F10 open the row menu for the selected row.
gboolean MainWindow::OnListPopupMenu(GtkWidget*, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (!window.ListingRuns()) window.row_menu_.Popup(nullptr);
  return TRUE;
}

gboolean MainWindow::OnListKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  const WindowCommand* command = KeyCommand(event->keyval, event->state);
  if (command == nullptr) return FALSE;
  static_cast<MainWindow*>(self)->RunCommand(*command);
  return TRUE;
}

// A double-click counts when its button is released over the list.
gboolean MainWindow::OnListRelease(GtkWidget*, GdkEventButton* event, gpointer self) {
  auto& window = *static_cast<MainWindow*>(self);
  if (event->button != 1 || !window.double_click_pending_) return FALSE;
  window.double_click_pending_ = false;
  window.RunCommand(DoubleClickCommand());
  return FALSE;
}
