// The listing run of the window: the host of a running listing, which lets the window work
// after about every 14 ms of listing work (events, the new rows for the views, a frame)
// and turns a click of Stop into the end of the listing.
#pragma once

#include <gtk/gtk.h>

#include "app/frame_pacing.h"
#include "app/poll_schedule.h"
#include "app/result_lists.h"
#include "listings/listing_host.h"
#include "listings/project.h"

/// The Stop poll, the Stop button and the scope of a run.
class WindowListingRun : public ListingHost {
 public:
  /// The run of listings into `lists` over `project`, with "Abbruch!" over `window`.
  WindowListingRun(GtkWindow* window, ResultLists& lists, Project& project);

  /// The Stop button, which the toolbar made.
  void SetStopButton(GtkWidget* stop_button) { stop_button_ = stop_button; }
  /// Lets the window work when it is due; true once Stop was clicked (after the
  /// "Abbruch!" message). Other events have no effect.
  bool PollStop() override;
  void SetStopEnabled(bool enabled) override;
  /// A click of Stop: asks the running listing to stop; nothing while none runs.
  void ClickStop() { stop_clicked_ = runs_; }
  /// True while a listing runs.
  bool Runs() const { return runs_; }

  /// Marks a listing as running for its lifetime and mirrors the lists at its end; the
  /// files changed since the last run are read again.
  class Scope {
   public:
    explicit Scope(WindowListingRun& run);
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    ~Scope();

   private:
    WindowListingRun& run_;
    bool outer_;
  };

 private:
  bool PumpEvents();
  void SyncAndWork();

  GtkWindow* window_;
  ResultLists& lists_;
  Project& project_;
  GtkWidget* stop_button_ = nullptr;
  PollSchedule poll_schedule_;
  FramePacing frame_pacing_;
  bool runs_ = false;
  bool stop_clicked_ = false;
};
