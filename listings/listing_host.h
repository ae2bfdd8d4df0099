// What a listing needs from the program that runs it: the Stop poll and the Stop control.
// The window implements it for real; tests and the report tool simply.
// A listing switches the Stop control on for its run through `StopEnabled`.
#pragma once

/// The host of a running listing.
class ListingHost {
 public:
  virtual ~ListingHost() = default;
  /// Called once per source line read; true once the user asked to stop (the host has
  /// already told the user). Cheap: the host decides how often it really looks.
  virtual bool PollStop() = 0;
  /// Enables or disables the Stop control.
  virtual void SetStopEnabled(bool enabled) = 0;
};

/// Enables the host's Stop control for its own lifetime: a listing holds one while it reads.
class StopEnabled {
 public:
  /// Enables Stop.
  explicit StopEnabled(ListingHost& host) : host_(host) { host_.SetStopEnabled(true); }
  StopEnabled(const StopEnabled&) = delete;
  StopEnabled& operator=(const StopEnabled&) = delete;
  /// Disables Stop.
  ~StopEnabled() { host_.SetStopEnabled(false); }

 private:
  ListingHost& host_;
};
