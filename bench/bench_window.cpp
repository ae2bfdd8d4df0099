// Times the listings through the real main window (under Xvfb in the bench script): a
// click of All Proc-Calls until its handler returns, and a click of Search, whose input
// dialog a timeout answers with a term or a procedure name, until its handler returns.
// Then how the window stays responsive during them: the longest time in which the window
// did not work (no pass of its loop) per click; how long a Stop click waits for its
// "Abbruch!" during All Proc-Calls. Then All Proc-Calls into a new list of the window three
// ways, the view's copying of the rows in each: with a host that never polls (the view
// filled at the end); with a host whose Stop poll keeps the window's schedule on the real
// clock but never lets the window work, so the difference to the first is the poll's own
// cost; and polled by the window itself, which also handles events, draws and takes the
// view's batches during the listing.
//
//   pbst-bench-window MAINFILE REPETITIONS TERM NAME
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/poll_schedule.h"
#include "bench/bench_timing.h"
#include "bench/quiet_host.h"
#include "listings/all_procedure_calls.h"

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

/// Lets the window draw and goes Back to the first list, so every repetition starts alike.
void BackToFirstList(MainWindow& window) {
  Pump();
  gtk_button_clicked(GTK_BUTTON(window.Controls().Back));
  Pump();
}

/// Clicks `button` and returns the milliseconds until its handler returned.
double TimeClick(MainWindow& window, GtkWidget* button) {
  const double start = NowMs();
  gtk_button_clicked(GTK_BUTTON(button));
  const double time = NowMs() - start;
  BackToFirstList(window);
  return time;
}

/// Records when the window's loop runs: a 1 ms timer fires only while the loop runs, so
/// the time between two of its runs is how long a click would wait to be seen then.
class LoopRecorder {
 public:
  explicit LoopRecorder(double start) : runs_{start} { source_ = g_timeout_add(1, &Tick, this); }
  ~LoopRecorder() { g_source_remove(source_); }
  LoopRecorder(const LoopRecorder&) = delete;
  LoopRecorder& operator=(const LoopRecorder&) = delete;

  /// Longest time in milliseconds between two runs of the loop, or a run and `end`.
  double LongestGap(double end) const {
    double longest = end - runs_.back();
    for (size_t i = 1; i < runs_.size(); ++i) longest = std::max(longest, runs_[i] - runs_[i - 1]);
    return longest;
  }

 private:
  static gboolean Tick(gpointer self) {
    static_cast<LoopRecorder*>(self)->runs_.push_back(NowMs());
    return TRUE;
  }

  std::vector<double> runs_;
  guint source_ = 0;
};

/// Clicks `button` and returns the longest time in which the window did not work until
/// the handler returned (timed apart from `TimeClick`, so the recorder's timer costs the
/// timed clicks nothing).
double LongestGapOfClick(MainWindow& window, GtkWidget* button) {
  const double start = NowMs();
  LoopRecorder loop(start);
  gtk_button_clicked(GTK_BUTTON(button));
  const double gap = loop.LongestGap(NowMs());
  BackToFirstList(window);
  return gap;
}

std::vector<double> TimeSearches(MainWindow& window, int repetitions, const std::string& text,
                                 double (*measure)(MainWindow&, GtkWidget*)) {
  std::vector<double> times;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    g_timeout_add(1, AnswerSearch, const_cast<std::string*>(&text));
    times.push_back(measure(window, window.Controls().Search));
  }
  return times;
}

std::vector<double> TimeAllCalls(MainWindow& window, int repetitions,
                                 double (*measure)(MainWindow&, GtkWidget*)) {
  std::vector<double> times;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    times.push_back(measure(window, window.Controls().AllProcCalls));
  }
  return times;
}

/// A Stop click due at a set time during a listing, and when its "Abbruch!" showed.
struct StopProbe {
  MainWindow* Window = nullptr;
  double Due = 0;       ///< when the click is made
  double Answered = 0;  ///< when the message showed; 0 while it has not
};

// A timeout runs at the loop's first pass after it is due, just as a click made at that
// moment is seen at the loop's first pass after it: so the time from `Due` to the message
// is the wait of a click made at `Due`, not only the handling of one already seen.
gboolean ClickStop(gpointer probe) {
  gtk_button_clicked(GTK_BUTTON(static_cast<StopProbe*>(probe)->Window->Controls().StopButton));
  return FALSE;
}

/// Timeout callback: notes when a message dialog shows, and closes it.
gboolean AnswerMessage(gpointer probe) {
  GList* toplevels = gtk_window_list_toplevels();
  bool answered = false;
  for (GList* item = toplevels; item != nullptr && !answered; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (!GTK_IS_MESSAGE_DIALOG(widget) || !gtk_widget_get_visible(widget)) continue;
    static_cast<StopProbe*>(probe)->Answered = NowMs();
    gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_OK);
    answered = true;
  }
  g_list_free(toplevels);
  return answered ? FALSE : TRUE;
}

/// Milliseconds from a Stop click during All Proc-Calls to its "Abbruch!", the click made
/// `delay` ms into the listing; -1 when the listing ended before it was stopped.
double TimeStopAnswer(MainWindow& window, int delay) {
  StopProbe probe{&window};
  probe.Due = NowMs() + delay;
  const guint click = g_timeout_add(static_cast<guint>(delay), ClickStop, &probe);
  const guint answer = g_timeout_add(1, AnswerMessage, &probe);
  gtk_button_clicked(GTK_BUTTON(window.Controls().AllProcCalls));
  if (probe.Answered == 0) {
    g_source_remove(click);
    g_source_remove(answer);
  }
  BackToFirstList(window);
  return probe.Answered == 0 ? -1 : probe.Answered - probe.Due;
}

/// A host whose Stop poll keeps the window's schedule but never lets a window work: the
/// poll's own bookkeeping and nothing else.
class ScheduledHost : public ListingHost {
 public:
  ScheduledHost() { schedule_.Start(g_get_monotonic_time()); }
  bool PollStop() override {
    if (schedule_.Due(g_get_monotonic_time)) schedule_.Worked(g_get_monotonic_time());
    return false;
  }
  void SetStopEnabled(bool) override {}
  void PutOnClipboard(std::string_view) override {}

 private:
  PollSchedule schedule_;
};

/// Opens a new list for All Proc-Calls and lets the window show it, outside the timing.
ResultList& OpenAllCallsList(MainWindow& window) {
  ResultList& list = window.Lists().OpenResultList("", "All Procedure-Calls...");
  window.Lists().RefreshListSelector();
  Pump();
  return list;
}

/// All Proc-Calls as the window runs it: polled, the view filled in batches.
double TimePolledAllCalls(MainWindow& window) {
  ResultList& list = OpenAllCallsList(window);
  const double start = NowMs();
  window.RunListing([&] { return ListAllProcedureCalls(window.TakenUp(), list, window); });
  const double time = NowMs() - start;
  BackToFirstList(window);
  return time;
}

/// All Proc-Calls with `host` instead of the window; the view takes every row once the
/// listing has ended.
double TimeHostedAllCalls(MainWindow& window, ListingHost& host) {
  ResultList& list = OpenAllCallsList(window);
  const double start = NowMs();
  ListAllProcedureCalls(window.TakenUp(), list, host);
  window.Lists().Sync();
  const double time = NowMs() - start;
  BackToFirstList(window);
  return time;
}

void RunResponsiveness(MainWindow& window, int repetitions, const std::string& term,
                       const std::string& name) {
  PrintTimes("window-gap-all-calls", TimeAllCalls(window, repetitions, LongestGapOfClick));
  PrintTimes("window-gap-terms", TimeSearches(window, repetitions, term, LongestGapOfClick));
  PrintTimes("window-gap-calls", TimeSearches(window, repetitions, name, LongestGapOfClick));
  std::vector<double> answers;
  std::vector<double> polled;
  std::vector<double> quiet;
  std::vector<double> scheduled;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    // Clicks at different moments of the listing's work (which ends about 100 ms in, before
    // the view has taken every row), never in step with the window's polls.
    answers.push_back(TimeStopAnswer(window, 20 + 13 * (repetition % 5)));
    polled.push_back(TimePolledAllCalls(window));
    QuietHost quiet_host;
    quiet.push_back(TimeHostedAllCalls(window, quiet_host));
    ScheduledHost scheduled_host;
    scheduled.push_back(TimeHostedAllCalls(window, scheduled_host));
  }
  PrintTimes("window-stop-answer", answers);
  PrintTimes("polled-all-calls", polled);
  PrintTimes("quiet-all-calls", quiet);
  PrintTimes("scheduled-all-calls", scheduled);
}

void RunBench(const std::string& main_file, int repetitions, const std::string& term,
              const std::string& name) {
  PangoFontDescription* font = pango_font_description_from_string("Monospace 9");
  {
    MainWindow window(font);
    window.Show();
    TakeUpMainFile(window, main_file);
    Pump();
    PrintTimes("window-all-calls", TimeAllCalls(window, repetitions, TimeClick));
    PrintTimes("window-terms", TimeSearches(window, repetitions, term, TimeClick));
    PrintTimes("window-calls", TimeSearches(window, repetitions, name, TimeClick));
    RunResponsiveness(window, repetitions, term, name);
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
