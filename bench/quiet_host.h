// The listing host of the bench programs that run listings without a window: it never
// stops a listing and keeps the clipboard text for a comparison.
#pragma once

#include <string>
#include <string_view>

#include "listings/listing_host.h"

/// A host that never stops and keeps the clipboard text.
class QuietHost : public ListingHost {
 public:
  bool PollStop() override { return false; }
  void SetStopEnabled(bool) override {}
  void PutOnClipboard(std::string_view text) override { Clipboard = std::string(text); }
  /// The text last put on the clipboard.
  std::string Clipboard;
};
