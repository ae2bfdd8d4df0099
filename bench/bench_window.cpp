// Times the listings through the real main window (under Xvfb in the bench script): a
// click of All Proc-Calls, and a click of Search, whose input dialog a timeout answers
// with a term or a procedure name, each until the window is idle again.
// Then how the window stays responsive during them: the longest time in which the window
// did not work (no pass of its loop) per click; how long a Stop click waits for its
// "Abbruch!" during All Proc-Calls. Then All Proc-Calls into a new list of the window three
// ways, the view's copying of the rows in each: with a host that never polls (the view
// filled at the end); with a host whose Stop poll keeps the window's schedule on the real
// clock but never lets the window work, so the difference to the first is the poll's own
// cost; and polled by the window itself, which also handles events, draws and takes the
// view's batches during the listing. Then how the view follows All Proc-Calls: the longest
// time from a row's appending until it is on screen, the time from Stop greying until the
// window answers clicks again, and for a Stop click the rows not yet on screen at its
// "Abbruch!" and the rows added after it. Last, twelve All Proc-Calls lists in the
// history: the bytes each list after the first costs per row, beside the bytes of its cell
// texts, and the time to close the window. As information, the parts of a term Search: its
// lookup of the term as a procedure and the term listing, in process on the window's
// project, and the view's own cost of the rows: taking them all and drawing the rows in
// sight. With --one-all-calls it takes up the project
// and runs one All Proc-Calls, for the window's peak memory.
//
//   pbst-bench-window MAINFILE REPETITIONS TERM NAME
//   pbst-bench-window --one-all-calls MAINFILE
#include <gtk/gtk.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/poll_schedule.h"
#include "bench/bench_timing.h"
#include "frontend/huge_page_heap.h"
#include "listings/all_procedure_calls.h"
#include "listings/procedure_calls.h"
#include "listings/term_search.h"
#include "report/report_host.h"

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

/// Clicks `button` and returns the milliseconds until the window is idle again: its
/// handler returned and every event and idle task it left has been handled.
double TimeClick(MainWindow& window, GtkWidget* button) {
  const double start = NowMs();
  gtk_button_clicked(GTK_BUTTON(button));
  Pump();
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
  bool Clicked = false;  ///< true once the click was made
  const std::function<void()>* OnMessage = nullptr;  ///< called when the message shows
};

// A timeout runs at the loop's first pass after it is due, just as a click made at that
// moment is seen at the loop's first pass after it: so the time from `Due` to the message
// is the wait of a click made at `Due`, not only the handling of one already seen.
gboolean ClickStop(gpointer probe) {
  auto& stop_probe = *static_cast<StopProbe*>(probe);
  stop_probe.Clicked = true;
  gtk_button_clicked(GTK_BUTTON(stop_probe.Window->Controls().StopButton));
  return FALSE;
}

/// Removes the probe's timeouts that are still pending after a listing that ended before
/// the message showed.
void RemovePendingProbes(const StopProbe& probe, guint click, guint answer) {
  if (probe.Answered != 0) return;
  if (!probe.Clicked) g_source_remove(click);
  g_source_remove(answer);
}

/// Timeout callback: notes when a message dialog shows, and closes it.
gboolean AnswerMessage(gpointer probe) {
  GList* toplevels = gtk_window_list_toplevels();
  bool answered = false;
  for (GList* item = toplevels; item != nullptr && !answered; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    if (!GTK_IS_MESSAGE_DIALOG(widget) || !gtk_widget_get_visible(widget)) continue;
    auto& stop_probe = *static_cast<StopProbe*>(probe);
    stop_probe.Answered = NowMs();
    if (stop_probe.OnMessage != nullptr) (*stop_probe.OnMessage)();
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
  RemovePendingProbes(probe, click, answer);
  BackToFirstList(window);
  return probe.Answered == 0 ? -1 : probe.Answered - probe.Due;
}

/// A host whose Stop poll keeps the window's schedule but never lets a window work: the
/// poll's own bookkeeping and nothing else.
class ScheduledHost : public ListingHost {
 public:
  explicit ScheduledHost(ResultLists& lists) : lists_(lists) {
    schedule_.Start(g_get_monotonic_time());
  }
  bool PollStop() override {
    if (schedule_.Due(g_get_monotonic_time)) {
      schedule_.Worked(g_get_monotonic_time());
    }
    return false;
  }
  void SetStopEnabled(bool) override {}

 private:
  ResultLists& lists_;
  PollSchedule schedule_;
};

/// Index of the last row that the tree view of the current list has on screen, -1 when
/// none.
int LastRowInView(MainWindow& window) {
  ResultListView* view = window.Lists().CurrentView();
  GtkTreePath* first = nullptr;
  GtkTreePath* last = nullptr;
  if (view == nullptr || !gtk_tree_view_get_visible_range(view->ListView(), &first, &last)) {
    return -1;
  }
  const int index = view->ListRow(last);
  gtk_tree_path_free(first);
  gtk_tree_path_free(last);
  return index;
}

/// How the view follows a listing: at every run of the window's loop, the rows of the
/// list and the rows up to the last one on screen; and when Stop greyed.
class FollowRecorder {
 public:
  explicit FollowRecorder(MainWindow& window) : window_(window) {
    source_ = g_timeout_add(1, &Tick, this);
    greyed_ = g_signal_connect(window.Controls().StopButton, "state-changed",
                               G_CALLBACK(&OnStopState), this);
  }
  ~FollowRecorder() {
    g_source_remove(source_);
    g_signal_handler_disconnect(window_.Controls().StopButton, greyed_);
  }
  FollowRecorder(const FollowRecorder&) = delete;
  FollowRecorder& operator=(const FollowRecorder&) = delete;

  /// Longest time from a row's appending (at the latest after the last look that did not
  /// see it) to the first look that had it on screen, in milliseconds.
  double LongestLag() const {
    double longest = 0;
    size_t appended = 0;  // last look whose list did not hold the row `shown` yet
    int shown = 0;        // rows seen on screen so far
    for (size_t look = 0; look < looks_.size(); ++look) {
      if (looks_[look].InView <= shown) continue;
      while (appended + 1 < look && looks_[appended + 1].Rows <= shown) ++appended;
      longest = std::max(longest, looks_[look].Time - looks_[appended].Time);
      shown = looks_[look].InView;
    }
    return longest;
  }
  /// When Stop greyed, 0 when it did not.
  double Greyed() const { return greyed_at_; }

 private:
  struct Look {
    double Time;
    int Rows;    ///< rows of the list
    int InView;  ///< rows up to the last one on screen
  };

  static gboolean Tick(gpointer self) {
    auto& recorder = *static_cast<FollowRecorder*>(self);
    const ResultList* list = recorder.window_.Lists().History().Current();
    recorder.looks_.push_back({NowMs(), list ? list->RowCount() : 0,
                               LastRowInView(recorder.window_) + 1});
    return TRUE;
  }
  static void OnStopState(GtkWidget* stop, GtkStateType, gpointer self) {
    if (!gtk_widget_is_sensitive(stop)) static_cast<FollowRecorder*>(self)->greyed_at_ = NowMs();
  }

  MainWindow& window_;
  std::vector<Look> looks_{{NowMs(), 0, 0}};
  guint source_ = 0;
  gulong greyed_ = 0;
  double greyed_at_ = 0;
};

/// What `FollowAllCalls` saw, in milliseconds.
struct Following {
  double Lag = 0;        ///< longest lag of the view behind the listing
  double Answer = 0;     ///< from Stop greying until the window answers clicks again
  double Listing = 0;    ///< from the click until Stop greyed (the listing's own work)
};

/// A click of All Proc-Calls, recorded; the window answers clicks again once the handler
/// has returned.
Following FollowAllCalls(MainWindow& window) {
  FollowRecorder recorder(window);
  const double start = NowMs();
  gtk_button_clicked(GTK_BUTTON(window.Controls().AllProcCalls));
  const double answered = NowMs();
  const double greyed = recorder.Greyed();
  const Following following{recorder.LongestLag(), greyed > 0 ? answered - greyed : -1,
                            greyed > 0 ? greyed - start : answered - start};
  BackToFirstList(window);
  return following;
}

/// What a Stop click during All Proc-Calls leaves: rows of the list not yet on screen when
/// "Abbruch!" shows, and rows that came on screen after it (the view kept growing).
struct StopRows {
  int NotInView = 0;
  int AddedAfter = 0;
};

/// A Stop click `delay` ms into All Proc-Calls, with the rows at its "Abbruch!".
StopRows StopAndCountRows(MainWindow& window, int delay) {
  StopProbe probe{&window};
  StopRows rows;
  int in_view_at_message = 0;
  const auto note = [&] {
    in_view_at_message = LastRowInView(window) + 1;
    rows.NotInView = window.Lists().History().Current()->RowCount() - in_view_at_message;
  };
  std::function<void()> on_message = note;
  probe.OnMessage = &on_message;
  const guint click = g_timeout_add(static_cast<guint>(delay), ClickStop, &probe);
  const guint answer = g_timeout_add(1, AnswerMessage, &probe);
  gtk_button_clicked(GTK_BUTTON(window.Controls().AllProcCalls));
  Pump();
  RemovePendingProbes(probe, click, answer);
  if (probe.Answered == 0) {
    rows.NotInView = -1;  // the listing ended first
  } else {
    rows.AddedAfter = LastRowInView(window) + 1 - in_view_at_message;
  }
  BackToFirstList(window);
  return rows;
}

/// Opens a new list for All Proc-Calls and lets the window show it, outside the timing.
ResultList& OpenAllCallsList(MainWindow& window) {
  ResultList& list = window.Lists().OpenResultList(
      ListKind::AllProcedureCalls, "All Procedure-Calls...");
  window.Lists().RefreshListSelector();
  Pump();
  return list;
}

/// All Proc-Calls as the window runs it: polled, the view filled in batches.
double TimePolledAllCalls(MainWindow& window) {
  ResultList& list = OpenAllCallsList(window);
  const double start = NowMs();
  window.RunListing([&] { return ListAllProcedureCalls(window.TakenUp(), list, window.Host()); });
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

/// The parts of a window Search of a term, in milliseconds per repetition.
struct SearchParts {
  std::vector<double> Lookup;    ///< the lookup of the term as a procedure, which lists nothing
  std::vector<double> Listing;   ///< the term listing
  std::vector<double> ViewRows;  ///< the view taking the term's rows and drawing them
};

/// The view of `list` (current, its rows not taken yet) takes them all, its newest row
/// selected, and the window draws the rows in sight.
void TimeViewOfRows(MainWindow& window, const ResultList& list, SearchParts& parts) {
  ResultListView& view = *window.Lists().ViewOf(list);
  const double start = NowMs();
  view.Sync();
  Pump();
  gdk_window_process_all_updates();
  parts.ViewRows.push_back(NowMs() - start);
}

/// What a Search of a term is made of, each part timed apart on the window's project: the
/// lookup and the term listing in process with a host that never polls, then the tree
/// view's own part of the rows.
void RunSearchParts(MainWindow& window, int repetitions, const std::string& term) {
  SearchParts parts;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    ResultList& list = window.Lists().OpenResultList(ListKind::Terms, "Terms: " + term);
    window.Lists().RefreshListSelector();
    Pump();
    ReportHost host;
    ResultList lookup(ListKind::ProcedureCalls, "Proc: " + term);
    double start = NowMs();
    ListProcedureCalls(window.TakenUp(), lookup, host, {term});
    parts.Lookup.push_back(NowMs() - start);
    start = NowMs();
    ListTermMatches(window.TakenUp(), list, host, {term});
    parts.Listing.push_back(NowMs() - start);
    TimeViewOfRows(window, list, parts);
    BackToFirstList(window);
  }
  PrintTimes("window-search-lookup", parts.Lookup);
  PrintTimes("window-search-term-listing", parts.Listing);
  PrintTimes("window-view-rows", parts.ViewRows);
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
    ReportHost quiet_host;
    quiet.push_back(TimeHostedAllCalls(window, quiet_host));
    ScheduledHost scheduled_host(window.Lists());
    scheduled.push_back(TimeHostedAllCalls(window, scheduled_host));
  }
  PrintTimes("window-stop-answer", answers);
  PrintTimes("polled-all-calls", polled);
  PrintTimes("quiet-all-calls", quiet);
  PrintTimes("scheduled-all-calls", scheduled);
}

/// How the view follows All Proc-Calls, and what a Stop click leaves.
void RunFollowing(MainWindow& window, int repetitions) {
  std::vector<double> lags;
  std::vector<double> answers;
  std::vector<double> not_in_view;
  std::vector<double> added_after;
  for (int repetition = 0; repetition < repetitions; ++repetition) {
    const Following following = FollowAllCalls(window);
    lags.push_back(following.Lag);
    answers.push_back(following.Answer);
    // Clicks between 40 % and 80 % of the listing's own time, when it has written many rows.
    const double share = 0.4 + 0.1 * (repetition % 5);
    const StopRows rows = StopAndCountRows(window, static_cast<int>(share * following.Listing));
    not_in_view.push_back(rows.NotInView);
    added_after.push_back(rows.AddedAfter);
  }
  PrintTimes("window-row-lag", lags);
  PrintTimes("window-grey-to-answer", answers);
  PrintTimes("window-stop-rows-not-in-view", not_in_view);
  PrintTimes("window-stop-rows-added-after", added_after);
}

/// Resident bytes of this process.
double ResidentBytes() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

/// Bytes of the cell texts of `list`, per row.
double TextBytesPerRow(const ResultList& list) {
  size_t bytes = 0;
  for (int32_t row = 0; row < list.RowCount(); ++row) {
    for (int column = 0; column < ResultColumns; ++column) bytes += list.CellText(row, column).size();
  }
  return static_cast<double>(bytes) / std::max(1, list.RowCount());
}

/// Twelve All Proc-Calls lists in the history: what each list after the first costs per
/// row, beside the bytes of its cell texts; then how long closing the window takes.
void RunTwelveLists(std::unique_ptr<MainWindow> window) {
  constexpr int kLists = 12;
  gtk_button_clicked(GTK_BUTTON(window->Controls().AllProcCalls));
  Pump();
  const double first = ResidentBytes();
  for (int list = 1; list < kLists; ++list) {
    gtk_button_clicked(GTK_BUTTON(window->Controls().AllProcCalls));
    Pump();
  }
  const ResultList& last = *window->Lists().History().Current();
  const double per_row = (ResidentBytes() - first) / ((kLists - 1) * std::max(1, last.RowCount()));
  PrintTimes("window-bytes-per-row", {per_row});
  PrintTimes("window-text-bytes-per-row", {TextBytesPerRow(last)});
  const double start = NowMs();
  window.reset();
  Pump();
  PrintTimes("window-close-twelve-lists", {NowMs() - start});
}

void RunBench(const std::string& main_file, int repetitions, const std::string& term,
              const std::string& name) {
  PangoFontDescription* font = pango_font_description_from_string("Monospace 9");
  auto window = std::make_unique<MainWindow>(font);
  window->Show();
  TakeUpMainFile(*window, main_file);
  Pump();
  PrintTimes("window-all-calls", TimeAllCalls(*window, repetitions, TimeClick));
  PrintTimes("window-terms", TimeSearches(*window, repetitions, term, TimeClick));
  PrintTimes("window-calls", TimeSearches(*window, repetitions, name, TimeClick));
  RunSearchParts(*window, repetitions, term);
  RunResponsiveness(*window, repetitions, term, name);
  RunFollowing(*window, repetitions);
  std::cout << "procedures " << window->TakenUp().Procedures.size() << std::endl;
  RunTwelveLists(std::move(window));
  pango_font_description_free(font);
}

/// One All Proc-Calls click on a taken-up project, for the peak memory of the window.
void RunOneAllCalls(const std::string& main_file) {
  PangoFontDescription* font = pango_font_description_from_string("Monospace 9");
  {
    MainWindow window(font);
    window.Show();
    TakeUpMainFile(window, main_file);
    Pump();
    gtk_button_clicked(GTK_BUTTON(window.Controls().AllProcCalls));
    Pump();
  }
  pango_font_description_free(font);
}

}  // namespace

int main(int argc, char** argv) {
  StartOnHugePages(argv);  // as the window starts, so its heap is the window's
  const bool one_all_calls = argc == 3 && std::string(argv[1]) == "--one-all-calls";
  if (argc != 5 && !one_all_calls) {
    std::cerr << "usage: pbst-bench-window MAINFILE REPETITIONS TERM NAME\n"
                 "       pbst-bench-window --one-all-calls MAINFILE\n";
    return 2;
  }
  if (!gtk_init_check(nullptr, nullptr)) {
    std::cerr << "pbst-bench-window: no display\n";
    return 2;
  }
  if (one_all_calls) {
    RunOneAllCalls(argv[2]);
  } else {
    RunBench(argv[1], std::atoi(argv[2]), argv[3], argv[4]);
  }
  return 0;
}
