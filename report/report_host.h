// The listing host of the report tool: nobody can press Stop, and the clipboard is a
// string that the tool prints.
#pragma once

#include <string>
#include <string_view>

#include "listings/listing_host.h"

/// Never stops; keeps what a listing puts on the clipboard.
class ReportHost : public ListingHost {
 public:
  /// Always false.
  bool PollStop() override { return false; }
  /// Nothing to switch.
  void SetStopEnabled(bool) override {}
  /// Keeps `text` as `Clipboard()`.
  void PutOnClipboard(std::string_view text) override { clipboard_ = std::string(text); }

  /// The last text put on the clipboard; empty when none was.
  const std::string& Clipboard() const { return clipboard_; }

 private:
  std::string clipboard_;
};
