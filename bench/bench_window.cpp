// Times the listings through the real main window (under Xvfb in the bench script): a
// click of All Proc-Calls until its handler returns, and a click of Search, whose input
// dialog a timeout answers with a term or a procedure name, until its handler returns.
//
//   pbst-bench-window MAINFILE REPETITIONS TERM NAME
#include <gtk/gtk.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "bench/bench_timing.h"

namespace {

/// Handles every pending event.
void Pump() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

GtkWidget* FindEntry(GtkWidget* widget) {
  if (GTK_IS_ENTRY(widget)) return widget;
  if (!GTK_IS_CONTAINER(widget)) return nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  GtkWidget* found = nullptr;
  for (GList* child = children; child != nullptr && found == nullptr; child = child->next) {
    found = FindEntry(GTK_WIDGET(child->data));
  }
  g_list_free(children);
  return found;
}

/// Timeout callback: types the text into the Search dialog once it shows, and presses OK.
gboolean AnswerSearch(gpointer text) {
  GList* toplevels = gtk_window_list_toplevels();
  bool answered = false;
  for (GList* item = toplevels; item != nullptr && !answered; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (!GTK_IS_DIALOG(widget) || !gtk_widget_get_visible(widget)) continue;
    GtkWidget* entry = FindEntry(widget);
    if (entry == nullptr) continue;
    gtk_entry_set_text(GTK_ENTRY(entry), static_cast<const std::string*>(text)->c_str());
    gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_OK);
    answered = true;
  }
  g_list_free(toplevels);
  return answered ? FALSE : TRUE;
}

/// Clicks `button` and returns the milliseconds until its handler returned; then lets the
/// window draw and goes Back to the first list, so every repetition starts alike.
double TimeClick(MainWindow& window, GtkWidget* button) {
  const double start = NowMs();
  gtk_button_clicked(GTK_BUTTON(button));
  const double time = NowMs() - start;
  Pump();
  gtk_button_clicked(GTK_BUTTON(window.Controls().Back));
  Pump();
  return time;
}

std::vector<double> TimeSearches(MainWindow& window, int repetitions, const std::string& text) {
  std::vector<double> times;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    g_timeout_add(1, AnswerSearch, const_cast<std::string*>(&text));
    times.push_back(TimeClick(window, window.Controls().Search));
  }
  return times;
}

void RunBench(const std::string& main_file, int repetitions, const std::string& term,
              const std::string& name) {
  PangoFontDescription* font = pango_font_description_from_string("Monospace 9");
  {
    MainWindow window(font);
    window.Show();
    TakeUpMainFile(window, main_file);
    Pump();
    std::vector<double> all_calls;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
      all_calls.push_back(TimeClick(window, window.Controls().AllProcCalls));
    }
    PrintTimes("window-all-calls", all_calls);
    PrintTimes("window-terms", TimeSearches(window, repetitions, term));
    PrintTimes("window-calls", TimeSearches(window, repetitions, name));
    std::cout << "procedures " << window.TakenUp().Procedures.size() << std::endl;
  }
  pango_font_description_free(font);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: pbst-bench-window MAINFILE REPETITIONS TERM NAME\n";
    return 2;
  }
  if (!gtk_init_check(nullptr, nullptr)) {
    std::cerr << "pbst-bench-window: no display\n";
    return 2;
  }
  RunBench(argv[1], std::atoi(argv[2]), argv[3], argv[4]);
  return 0;
}
