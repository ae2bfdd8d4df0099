#include "app/frame_pacing.h"

// GDK counts freezes per window: every freeze here is thawed exactly once, by `Open` or
// `Release`, so the window never stays frozen after a listing.
void FramePacing::Hold(GdkWindow* window) {
  if (window == nullptr || window_ != nullptr) return;
  window_ = GDK_WINDOW(g_object_ref(window));
  gdk_window_freeze_updates(window_);
  open_ = false;
}

void FramePacing::Open() {
  if (window_ == nullptr || open_) return;
  gdk_window_thaw_updates(window_);
  open_ = true;
}

void FramePacing::Close() {
  if (window_ == nullptr || !open_) return;
  gdk_window_freeze_updates(window_);
  open_ = false;
}

void FramePacing::Release() {
  if (window_ == nullptr) return;
  if (!open_) gdk_window_thaw_updates(window_);
  g_object_unref(window_);
  window_ = nullptr;
  open_ = false;
}
