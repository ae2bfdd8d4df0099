#include "app/window_listing_run.h"

#include "app/dialogs.h"

namespace {

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

// The window works after every 14 ms of listing work: often enough to answer a Stop click
// and to show the newest row within 50 ms, rarely enough to cost a listing next to nothing.
bool WindowListingRun::PollStop() {
  if (!poll_schedule_.Due(g_get_monotonic_time)) return false;
  const bool stop = PumpEvents();
  poll_schedule_.Worked(g_get_monotonic_time());
  return stop;
}

bool WindowListingRun::PumpEvents() {
  SyncAndWork();
  if (!stop_clicked_) return false;
  stop_clicked_ = false;
  frame_pacing_.Release();  // the window draws as usual behind the message
  ShowMessage(window_, "Abbruch!");
  return true;
}

// The views take every new row before the listing goes on (at a cost that does not grow
// with the rows), so what the window draws, and the list behind "Abbruch!", is the list as
// the listing left it; then the window handles its events and draws one frame.
void WindowListingRun::SyncAndWork() {
  lists_.Sync();
  frame_pacing_.Open();
  HandlePendingEvents();
  frame_pacing_.Close();
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
  run_.SyncAndWork();
  run_.frame_pacing_.Release();
  run_.runs_ = false;
  run_.stop_clicked_ = false;
  run_.lists_.Sync();
}
