// Paces the window's drawing while a listing runs: new rows reach the view in many small
// parts, and drawing the list after each one adds up; one frame per interval shows the
// newest rows as soon, at a fraction of the cost.
#pragma once

#include <gtk/gtk.h>

#include "app/poll_schedule.h"

/// Holds the drawing of one toplevel window back between frames.
class FramePacing {
 public:
  /// Shortest time between two frames that `OpenIfDue` lets through: the listing work
  /// between two turns of the window, so that a paced frame comes no later than a turn.
  static constexpr gint64 kFrameMicroseconds = PollSchedule::kIntervalMicroseconds;

  /// Holds no window.
  FramePacing() = default;
  FramePacing(const FramePacing&) = delete;
  FramePacing& operator=(const FramePacing&) = delete;
  /// Lets a held window draw freely again.
  ~FramePacing() { Release(); }

  /// Holds back the drawing of `window` (a toplevel's GdkWindow; nullptr for none, which
  /// changes nothing); the first frame is due at once.
  void Hold(GdkWindow* window);
  /// Lets the window draw in the events handled next, as a frame at `now` (monotonic
  /// microseconds); nothing while not holding or already open.
  void Open(gint64 now);
  /// `Open` when the last frame is at least `kFrameMicroseconds` before `now`.
  void OpenIfDue(gint64 now);
  /// Holds the drawing back again after a frame that `OpenIfDue` let through.
  void Close();
  /// Lets the window draw freely again; what waited is drawn with the next events.
  void Release();
  /// True while the window's drawing is held back.
  bool Holding() const { return window_ != nullptr; }

 private:
  GdkWindow* window_ = nullptr;  // held, with a reference; nullptr while not holding
  bool open_ = false;            // a frame is let through until `Close`
  gint64 last_frame_ = 0;
};
