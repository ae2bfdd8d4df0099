#include "app/window_listing_run.h"

#include "app/dialogs.h"

namespace {

// Longest time one part of announcing new rows to the views may take before the window
// works; a row takes about a microsecond.
constexpr gint64 kSyncPartMicroseconds = 8000;
// Longest time one pump may spend on events, so a flood of them cannot hold up a listing.
constexpr gint64 kPumpLimitMicroseconds = 20000;

void HandlePendingEvents() {
  const gint64 start = g_get_monotonic_time();
  while (gtk_events_pending() && g_get_monotonic_time() - start < kPumpLimitMicroseconds) {
    gtk_main_iteration_do(FALSE);
  }
}

}  // namespace

WindowListingRun::WindowListingRun(GtkWindow* window, ResultLists& lists, Project& project)
    : window_(window), lists_(lists), project_(project) {}

// The window works after every 14 ms of listing work, or sooner once the rows waiting for
// the view would take it about 8 ms to announce: often enough to answer a Stop click and
// to show the newest row within 50 ms, rarely enough to cost a listing next to nothing.
bool WindowListingRun::PollStop() {
  if (!poll_schedule_.Due(g_get_monotonic_time, [this] { return lists_.WaitingRows(); })) {
    return false;
  }
  // A turn that many waiting rows brought before the interval was over comes from a
  // listing that adds rows faster than the view takes them: its frames are paced.
  const bool paced = lists_.WaitingRows() >= PollSchedule::kRowsPerTurn;
  const bool stop = PumpEvents(paced);
  poll_schedule_.Worked(g_get_monotonic_time());
  return stop;
}

bool WindowListingRun::PumpEvents(bool paced) {
  SyncInParts(paced);
  if (!stop_clicked_) return false;
  stop_clicked_ = false;
  frame_pacing_.Release();  // the window draws as usual behind the message
  ShowMessage(window_, "Abbruch!");
  return true;
}

// The views take every new row before the listing goes on, so what the window draws, and
// the list behind "Abbruch!", is the list as the listing left it. The rows are announced in
// parts with the window working after each, so many new rows cannot hold it up. The window
// draws once in each turn, as soon as its first part of rows is in, and after that, or in a
// `paced` turn, only when a frame is due (`FramePacing`), not after every part.
void WindowListingRun::SyncInParts(bool paced) {
  bool all_rows = false;
  bool first_part = true;
  while (!all_rows) {
    all_rows = lists_.SyncUntil(g_get_monotonic_time() + kSyncPartMicroseconds);
    const gint64 now = g_get_monotonic_time();
    if (first_part && !paced) frame_pacing_.Open(now);
    frame_pacing_.OpenIfDue(now);
    HandlePendingEvents();
    frame_pacing_.Close();
    first_part = false;
  }
}

void WindowListingRun::SetStopEnabled(bool enabled) {
  gtk_widget_set_sensitive(stop_button_, enabled);
}

WindowListingRun::Scope::Scope(WindowListingRun& run) : run_(run), outer_(!run.runs_) {
  if (!outer_) return;
  // The run reads the files the user changed since the last one, and only those.
  run_.project_.Texts.DropChanged();
  run_.runs_ = true;
  run_.poll_schedule_.Start(g_get_monotonic_time());
  run_.frame_pacing_.Hold(gtk_widget_get_window(GTK_WIDGET(run_.window_)));
}

WindowListingRun::Scope::~Scope() {
  if (!outer_) return;
  // The window works once more before the listing counts as ended: a command that runs two
  // listings in a row (a lookup, then a term search) would otherwise keep it waiting for
  // both.
  run_.SyncInParts(false);
  run_.frame_pacing_.Release();
  run_.runs_ = false;
  run_.stop_clicked_ = false;
  run_.lists_.Sync();
}
