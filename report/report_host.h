// The listing host of the report tool: nobody can press Stop.
#pragma once

#include "listings/listing_host.h"

/// Never stops.
class ReportHost : public ListingHost {
 public:
  /// Always false.
  bool PollStop() override { return false; }
  /// Nothing to switch.
  void SetStopEnabled(bool) override {}
};
