#include "app/poll_schedule.h"

#include <algorithm>

namespace {

// The stride is adapted so that the looks stay about a millisecond apart whether a listing
// polls every line or only now and then. A look that comes late means the polls have turned
// slow (a listing's expensive part, a loaded machine): the stride starts again from one so
// the interval is not overrun by a stride sized for fast polls.
constexpr int64_t kClockLookMicroseconds = 1000;
constexpr int64_t kLateLookMicroseconds = 4000;

}  // namespace

void PollSchedule::Start(int64_t now) {
  polls_ = 0;
  stride_ = 1;
  last_look_ = last_work_ = now;
}

void PollSchedule::Worked(int64_t now) { last_look_ = last_work_ = now; }

bool PollSchedule::Look(int64_t now) {
  polls_ = 0;
  AdaptStride(now - last_look_);
  last_look_ = now;
  return now - last_work_ >= kIntervalMicroseconds;
}

void PollSchedule::AdaptStride(int64_t since_look) {
  if (since_look >= kLateLookMicroseconds) {
    stride_ = 1;
  } else if (since_look < kClockLookMicroseconds) {
    stride_ = std::min(stride_ * 2, kLongestStride);
  } else {
    stride_ = std::max(stride_ / 2, 1u);
  }
}
