// When a running listing's Stop poll lets the window work: after every 14 ms of listing
// work, with the clock looked at only every so many polls so that a poll costs next to
// nothing. Toolkit-free: the caller passes the clock in, so tests can drive it.
#pragma once

#include <cstdint>

/// The Stop poll's schedule: a poll counter, an adaptive stride between looks at the clock
/// and the time the window last worked. Times are microseconds of a monotonic clock.
class PollSchedule {
 public:
  /// Listing work between two turns of the window.
  static constexpr int64_t kIntervalMicroseconds = 14000;

  /// Starts a listing's schedule at `now`: stride one, the first interval counted from `now`.
  void Start(int64_t now);

  /// Counts one poll; true when the window's turn has come, after the interval of listing
  /// work. Calls `now()` only on the polls that look at the clock (every `Stride()`th one).
  template <typename Clock>
  bool Due(Clock&& now) {
    if (++polls_ < stride_) return false;
    return Look(now());
  }

  /// Notes that the window has worked until `now`: its own time is no listing work, so
  /// the next interval and the next look count from its end.
  void Worked(int64_t now);

  /// Polls between two looks at the clock, from 1 to `kLongestStride`.
  uint32_t Stride() const { return stride_; }

  /// The largest stride. A stretch of slow polls after fast ones is seen only at the next
  /// look: after cheap lines a stride of 1024 polls of 40 us each (lines of many calls)
  /// would keep the loop waiting 40 ms past its interval, one of 256 about 10 ms.
  static constexpr uint32_t kLongestStride = 256;

 private:
  bool Look(int64_t now);
  void AdaptStride(int64_t since_look);

  uint32_t polls_ = 0;   // polls since the clock was last looked at
  uint32_t stride_ = 1;  // polls between two looks at the clock
  int64_t last_look_ = 0;
  int64_t last_work_ = 0;
};
