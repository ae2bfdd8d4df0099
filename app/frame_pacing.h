// Paces the window's drawing while a listing runs: the window draws in its turns between
// the listing's work and nowhere else, one frame a turn.
#pragma once

#include <gtk/gtk.h>

/// Holds the drawing of one toplevel window back between frames.
class FramePacing {
 public:
  /// Holds no window.
  FramePacing() = default;
  FramePacing(const FramePacing&) = delete;
  FramePacing& operator=(const FramePacing&) = delete;
  /// Lets a held window draw freely again.
  ~FramePacing() { Release(); }

  /// Holds back the drawing of `window` (a toplevel's GdkWindow; nullptr for none, which
  /// changes nothing).
  void Hold(GdkWindow* window);
  /// Lets the window draw in the events handled next; nothing while not holding or
  /// already open.
  void Open();
  /// Holds the drawing back again after a frame that `Open` let through.
  void Close();
  /// Lets the window draw freely again; what waited is drawn with the next events.
  void Release();
  /// True while the window's drawing is held back.
  bool Holding() const { return window_ != nullptr; }

 private:
  GdkWindow* window_ = nullptr;  // held, with a reference; nullptr while not holding
  bool open_ = false;            // a frame is let through until `Close`
};
