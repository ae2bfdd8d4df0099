// What the window tests share: GTK started once per test process (tests skip without a
// display), event pumping, what a list view's cell shows, a small project on disk, and an
// answerer for the real modal dialogs that finds them among the toplevel windows.
#pragma once

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <unistd.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"

namespace gtk_test {

/// Starts GTK once; false when no display can be opened. Criticals end the test process.
inline bool DisplayOpens() {
  static const bool opened = [] {
    if (!gtk_init_check(nullptr, nullptr)) return false;
    g_log_set_always_fatal(GLogLevelFlags(G_LOG_LEVEL_CRITICAL | G_LOG_FATAL_MASK));
    return true;
  }();
  return opened;
}

/// Lets GTK handle everything pending, then waits `idle_ms` for more and handles that too.
inline void Pump(int idle_ms = 0) {
  const gint64 until = g_get_monotonic_time() + gint64{idle_ms} * 1000;
  do {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    g_usleep(1000);
  } while (g_get_monotonic_time() < until);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

/// Pumps until `done` holds or `timeout_ms` have passed; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int timeout_ms = 3000) {
  const gint64 until = g_get_monotonic_time() + gint64{timeout_ms} * 1000;
  while (!done() && g_get_monotonic_time() < until) Pump(5);
  return done();
}

/// What one cell of a list view shows: its text, and its text and background colours as
/// "#rrggbb", "(none)" for the view's default.
struct ShownCell {
  std::string Text;
  std::string Foreground;
  std::string Background;
};

/// `colour` as "#rrggbb" when `set`, else "(none)".
inline std::string ColourShown(const GdkColor* colour, gboolean set) {
  if (!set || colour == nullptr) return "(none)";
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour->red >> 8, colour->green >> 8,
                colour->blue >> 8);
  return text;
}

/// What `column` of `list_view` shows in row `row`, as its renderer holds it once the
/// column has prepared the cell for drawing; "(no cell)" texts when there is no such cell.
inline ShownCell CellShown(GtkTreeView* list_view, int row, int column) {
  GtkTreeViewColumn* view_column = gtk_tree_view_get_column(list_view, column);
  GtkTreeModel* model = gtk_tree_view_get_model(list_view);
  GtkTreeIter iter;
  if (view_column == nullptr || !gtk_tree_model_iter_nth_child(model, &iter, nullptr, row)) {
    return {"(no cell)", "(no cell)", "(no cell)"};
  }
  gtk_tree_view_column_cell_set_cell_data(view_column, model, &iter, FALSE, FALSE);
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(view_column));
  gchar* text = nullptr;
  GdkColor* foreground = nullptr;
  GdkColor* background = nullptr;
  gboolean foreground_set = FALSE;
  gboolean background_set = FALSE;
  g_object_get(cells->data, "text", &text, "foreground-gdk", &foreground, "foreground-set",
               &foreground_set, "cell-background-gdk", &background, "cell-background-set",
               &background_set, nullptr);
  g_list_free(cells);
  ShownCell shown{text != nullptr ? text : "", ColourShown(foreground, foreground_set),
                  ColourShown(background, background_set)};
  g_free(text);
  if (foreground != nullptr) gdk_color_free(foreground);
  if (background != nullptr) gdk_color_free(background);
  return shown;
}

/// A folder of files that is removed with the object.
class TempProject {
 public:
  TempProject() {
    static int counter = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("pbst_app_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(folder_);
  }
  ~TempProject() { std::filesystem::remove_all(folder_); }
  /// Writes `text` to `name` in the folder and returns the file's path.
  std::string Write(const std::string& name, const std::string& text) const {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  /// The folder's path.
  std::string Folder() const { return folder_.string(); }

 private:
  std::filesystem::path folder_;
};

/// Writes long.pb into `project` and returns its path: `procedures` procedures, each
/// calling the next once, with `lines` lines each that name the next in a string. All
/// Proc-Calls must test each of those lines for a call and finds none there, so it runs
/// for many Stop polls however fast a line without a call is passed over.
inline std::string WriteLongProject(const TempProject& project, int procedures, int lines) {
  std::string text;
  for (int procedure = 0; procedure < procedures; ++procedure) {
    const std::string next = "P" + std::to_string((procedure + 1) % procedures);
    text += "Procedure P" + std::to_string(procedure) + "()\n  " + next + "()\n";
    for (int line = 0; line < lines; ++line) text += "  s$ = \"" + next + "(x)\"\n";
    text += "EndProcedure\n";
  }
  return project.Write("long.pb", text);
}

/// The modal dialog on screen, if any.
inline GtkDialog* ShownDialog() {
  GtkDialog* found = nullptr;
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* item = toplevels; item != nullptr; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (GTK_IS_DIALOG(widget) && gtk_widget_get_visible(widget) &&
        gtk_window_get_modal(GTK_WINDOW(widget))) {
      found = GTK_DIALOG(widget);
    }
  }
  g_list_free(toplevels);
  return found;
}

/// First widget of type `type` inside `container`, depth first.
inline GtkWidget* FindChild(GtkWidget* widget, GType type) {
  if (G_TYPE_CHECK_INSTANCE_TYPE(widget, type)) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GtkWidget* found = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
    found = FindChild(GTK_WIDGET(child->data), type);
  }
  g_list_free(children);
  return found;
}

/// Answers the real modal dialogs while it lives: message boxes are read and confirmed
/// with OK; every other dialog goes to the next queued answer, in order. Each dialog is
/// answered once, however long it stays on screen; a new dialog is answered even when it
/// takes the memory of one before.
class DialogAnswerer {
 public:
  /// Handles one dialog; returns true when it has answered it.
  using Answer = std::function<bool(GtkDialog*)>;

  DialogAnswerer() { source_ = g_timeout_add(5, &DialogAnswerer::Tick, this); }
  ~DialogAnswerer() {
    g_source_remove(source_);
    Forget();
  }
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  /// Queues the answer for the next dialog that is not a message box.
  void Then(Answer answer) { answers_.push_back(std::move(answer)); }
  /// Texts of the message boxes seen, with their titles before a "|".
  const std::vector<std::string>& Messages() const { return messages_; }
  /// Titles of the other dialogs seen.
  const std::vector<std::string>& Dialogs() const { return dialogs_; }
  /// Answers still waiting for their dialog.
  size_t Pending() const { return answers_.size(); }
  /// Called right after each message box is answered.
  void OnMessage(std::function<void()> action) { on_message_ = std::move(action); }

 private:
  static gboolean Tick(gpointer self) {
    static_cast<DialogAnswerer*>(self)->AnswerShownDialog();
    return TRUE;
  }

  // A dialog stays on screen for a moment after its answer; it is the one tracked until it
  // is destroyed, so that a later dialog at the same address counts as new.
  static void OnTrackedDestroyed(GtkWidget*, gpointer self) {
    auto& answerer = *static_cast<DialogAnswerer*>(self);
    answerer.tracked_ = nullptr;
    answerer.destroy_handler_ = 0;
  }

  void Track(GtkDialog* dialog) {
    Forget();
    tracked_ = dialog;
    answered_ = false;
    destroy_handler_ =
        g_signal_connect(dialog, "destroy", G_CALLBACK(&DialogAnswerer::OnTrackedDestroyed), this);
  }

  void Forget() {
    if (tracked_ != nullptr) g_signal_handler_disconnect(tracked_, destroy_handler_);
    tracked_ = nullptr;
    destroy_handler_ = 0;
  }

  static std::string Title(GtkDialog* dialog) {
    const gchar* title = gtk_window_get_title(GTK_WINDOW(dialog));
    return title != nullptr ? title : "";
  }

  void AnswerShownDialog() {
    GtkDialog* dialog = ShownDialog();
    if (dialog == nullptr || (dialog == tracked_ && answered_)) return;
    if (GTK_IS_MESSAGE_DIALOG(dialog)) {
      AnswerMessage(dialog);
      return;
    }
    if (answers_.empty()) return;
    if (dialog != tracked_) {
      Track(dialog);
      dialogs_.push_back(Title(dialog));
    }
    // An answer that is not done yet is asked again at the next tick.
    answered_ = answers_.front()(dialog);
    if (answered_) answers_.pop_front();
  }

  void AnswerMessage(GtkDialog* dialog) {
    Track(dialog);
    gchar* text = nullptr;
    g_object_get(dialog, "text", &text, nullptr);
    messages_.push_back(Title(dialog) + "|" + (text != nullptr ? text : ""));
    g_free(text);
    answered_ = true;
    gtk_dialog_response(dialog, GTK_RESPONSE_OK);
    if (on_message_) on_message_();
  }

  guint source_ = 0;
  std::deque<Answer> answers_;
  std::vector<std::string> messages_;
  std::vector<std::string> dialogs_;
  GtkDialog* tracked_ = nullptr;
  gulong destroy_handler_ = 0;
  bool answered_ = false;
  std::function<void()> on_message_;
};

/// Types `text` into the dialog's entry and presses OK.
inline DialogAnswerer::Answer EnterText(std::string text) {
  return [text](GtkDialog* dialog) {
    GtkWidget* entry = FindChild(GTK_WIDGET(dialog), GTK_TYPE_ENTRY);
    if (entry == nullptr) return false;
    gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
    gtk_dialog_response(dialog, GTK_RESPONSE_OK);
    return true;
  };
}

/// Closes the dialog without its OK button, as the window's close button does.
inline DialogAnswerer::Answer CloseDialog() {
  return [](GtkDialog* dialog) {
    gtk_dialog_response(dialog, GTK_RESPONSE_DELETE_EVENT);
    return true;
  };
}

/// Chooses `path` in a file dialog (once the dialog has taken it up) and presses Open.
inline DialogAnswerer::Answer ChooseFile(std::string path) {
  return [path](GtkDialog* dialog) {
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gchar* chosen = gtk_file_chooser_get_filename(chooser);
    const bool taken = chosen != nullptr && path == chosen;
    g_free(chosen);
    if (!taken) {
      gtk_file_chooser_set_filename(chooser, path.c_str());
      return false;
    }
    gtk_dialog_response(dialog, GTK_RESPONSE_ACCEPT);
    return true;
  };
}

/// Cancels a file dialog.
inline DialogAnswerer::Answer CancelFileDialog() {
  return [](GtkDialog* dialog) {
    gtk_dialog_response(dialog, GTK_RESPONSE_CANCEL);
    return true;
  };
}

/// Where `widget` was placed and how big it was made.
inline GtkAllocation Allocation(GtkWidget* widget) {
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  return allocation;
}

/// The texts of the entries of the combo box `selector`, first to last.
inline std::vector<std::string> SelectorEntries(GtkWidget* selector) {
  std::vector<std::string> entries;
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(selector));
  GtkTreeIter iter;
  for (bool more = gtk_tree_model_get_iter_first(model, &iter); more;
       more = gtk_tree_model_iter_next(model, &iter)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &iter, 0, &text, -1);
    entries.emplace_back(text != nullptr ? text : "");
    g_free(text);
  }
  return entries;
}

/// The clipboard's text; "(none)" when it holds none.
inline std::string ClipboardText() {
  gchar* text = gtk_clipboard_wait_for_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
  std::string copied = text != nullptr ? text : "(none)";
  g_free(text);
  return copied;
}

/// Sends the press and release of `keyval` with `state` to `widget` (a toplevel window
/// hands them to the widget that has the keyboard focus), with the key's code, by which
/// key bindings find it; then pumps.
inline void SendKey(GtkWidget* widget, guint keyval, guint state = 0) {
  GdkKeymapKey* keys = nullptr;
  gint count = 0;
  ASSERT_TRUE(gdk_keymap_get_entries_for_keyval(nullptr, keyval, &keys, &count));
  const guint16 keycode = static_cast<guint16>(keys[0].keycode);
  g_free(keys);
  for (const GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE}) {
    GdkEvent* event = gdk_event_new(type);
    event->key.hardware_keycode = keycode;
    event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
    event->key.keyval = keyval;
    event->key.state = state;
    event->key.time = GDK_CURRENT_TIME;
    gtk_widget_event(widget, event);
    gdk_event_free(event);
  }
  Pump();
}

/// A new event of `type` for mouse button `button`, 20 pixels into the cell of `path` in
/// `column` (the row's first cell for nullptr) of `view`, as the X server would send it;
/// the caller delivers it and frees it with `gdk_event_free`.
inline GdkEvent* NewButtonEventAt(GtkTreeView* view, GtkTreePath* path, GtkTreeViewColumn* column,
                                  GdkEventType type, guint button) {
  GdkRectangle cell;
  gtk_tree_view_get_cell_area(view, path, column, &cell);
  GdkEvent* event = gdk_event_new(type);
  event->button.window = GDK_WINDOW(g_object_ref(gtk_tree_view_get_bin_window(view)));
  event->button.button = button;
  event->button.x = cell.x + 20;
  event->button.y = cell.y + cell.height / 2;
  event->button.time = GDK_CURRENT_TIME;
  return event;
}

/// A shown main window for one test, with GTK started; tests skip without a display.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!DisplayOpens()) GTEST_SKIP() << "no display";
    font_ = pango_font_description_from_string("Monospace 9");
    window_ = std::make_unique<MainWindow>(font_);
    // The X server's map notice is the first event that the window takes from the loop.
    g_signal_connect(window_->Window(), "map-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer mapped) {
                       *static_cast<bool*>(mapped) = true;
                       return FALSE;
                     }),
                     &mapped_);
    window_->Show();
    window_->Lists().RefreshListSelector();
    ASSERT_TRUE(PumpUntil([this] { return mapped_; }));
  }
  void TearDown() override {
    window_.reset();
    if (font_ != nullptr) pango_font_description_free(font_);
    Pump();
  }

  PangoFontDescription* font_ = nullptr;
  std::unique_ptr<MainWindow> window_;
  bool mapped_ = false;
};

/// A detached drawing area and the list font, for a ResultListView built without a
/// window; tests skip without a display. Build the view in the test so that it goes first.
class DetachedViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!DisplayOpens()) GTEST_SKIP() << "no display";
    area_ = gtk_fixed_new();
    g_object_ref_sink(area_);
    font_ = pango_font_description_from_string("Monospace 9");
  }
  void TearDown() override {
    if (font_ != nullptr) pango_font_description_free(font_);
    if (area_ != nullptr) g_object_unref(area_);
  }
  GtkFixed* Area() const { return GTK_FIXED(area_); }

  GtkWidget* area_ = nullptr;
  PangoFontDescription* font_ = nullptr;
};

}  // namespace gtk_test
