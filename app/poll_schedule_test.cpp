#include "app/poll_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int64_t kInterval = PollSchedule::kIntervalMicroseconds;
constexpr int64_t kSecond = 1000000;
/// Turns of the window in a second of listing work that the window itself takes no time of.
constexpr size_t kTurnsPerSecond = static_cast<size_t>(kSecond / kInterval);

/// A clock that tests move by hand; it counts how often it was looked at.
struct FakeClock {
  int64_t now = 0;
  int looks = 0;
  int64_t operator()() {
    ++looks;
    return now;
  }
};

/// Polls from time 0 to `until`, the clock moved by `step(poll)` before each poll; when a
/// poll is due the window "works" for `work` microseconds. Returns the times of the due polls.
std::vector<int64_t> DueTimes(PollSchedule& schedule, FakeClock& clock,
                              const std::function<int64_t(int)>& step, int64_t until,
                              int64_t work = 0) {
  std::vector<int64_t> due;
  schedule.Start(clock.now);
  for (int poll = 0; clock.now < until; ++poll) {
    clock.now += step(poll);
    if (!schedule.Due(clock)) continue;
    due.push_back(clock.now);
    clock.now += work;
    schedule.Worked(clock.now);
  }
  return due;
}

/// Checks that every due poll follows the previous turn of the window (or the start) by
/// at least the interval and at most `lateness` more.
void ExpectGapsWithin(const std::vector<int64_t>& due, int64_t work, int64_t lateness) {
  int64_t worked = 0;
  for (const int64_t time : due) {
    EXPECT_GE(time - worked, kInterval) << "due at " << time;
    EXPECT_LE(time - worked, kInterval + lateness) << "due at " << time;
    worked = time + work;
  }
}

TEST(PollSchedule, PollsEveryMicrosecondAreDueAboutEveryIntervalAndLookOncePerLongestStride) {
  PollSchedule schedule;
  FakeClock clock;
  const auto due = DueTimes(schedule, clock, [](int) { return 1; }, kSecond);
  // Each turn comes at most one stride of polls (1 us each) late.
  EXPECT_GE(due.size(), static_cast<size_t>(kSecond / (kInterval + PollSchedule::kLongestStride)));
  EXPECT_LE(due.size(), kTurnsPerSecond);
  // A look at most every longest stride (of polls of 1 us) past the interval.
  ExpectGapsWithin(due, 0, PollSchedule::kLongestStride);
  // A million polls, but the clock is looked at only once per longest stride of them.
  EXPECT_GE(clock.looks, 500);
  EXPECT_LE(clock.looks, 1000000 / PollSchedule::kLongestStride + 100);
}

TEST(PollSchedule, PollsEveryTwoMillisecondsAreDueAboutEveryInterval) {
  PollSchedule schedule;
  FakeClock clock;
  const auto due = DueTimes(schedule, clock, [](int) { return 2000; }, kSecond);
  // A turn can come up to one poll (2 ms) late, each late turn shifting the ones after it.
  EXPECT_GE(due.size(), kTurnsPerSecond * kInterval / (kInterval + 2000) - 1);
  EXPECT_LE(due.size(), kTurnsPerSecond);
  ExpectGapsWithin(due, 0, 2000);
  EXPECT_EQ(schedule.Stride(), 1u);
}

TEST(PollSchedule, WindowTimeDoesNotCountAsListingWork) {
  PollSchedule schedule;
  FakeClock clock;
  const int64_t work = 10000;
  const auto due = DueTimes(schedule, clock, [](int) { return 100; }, kSecond, work);
  ASSERT_GE(due.size(), 20u);
  // Polls 100 us apart settle on a stride of 8 to 16: a look every 0.8 to 1.6 ms.
  ExpectGapsWithin(due, work, 1600);
}

// Lines of many calls after lines of none: the polls turn 40 times slower at once, and
// the window's turn comes late by at most a longest stride of the slow polls.
TEST(PollSchedule, PollsTurningFortyTimesSlowerDelayATurnByAtMostTwelveMilliseconds) {
  // Where in the interval the polls turn slower decides how late the turn comes.
  for (int slow_from = 200000; slow_from < 214000; slow_from += 1000) {
    SCOPED_TRACE("slower from " + std::to_string(slow_from) + " us");
    PollSchedule schedule;
    FakeClock clock;
    const auto due = DueTimes(
        schedule, clock, [&](int poll) { return poll < slow_from ? 1 : 40; }, 400000);
    ASSERT_GE(due.size(), 20u);
    ExpectGapsWithin(due, 0, 12000);
  }
}

TEST(PollSchedule, StrideStartsAgainFromOneAfterALateLook) {
  PollSchedule schedule;
  FakeClock clock;
  // Fast polls first raise the stride; then every poll takes 5 ms.
  const int64_t slow_from = 200000;
  const auto due =
      DueTimes(schedule, clock, [](int poll) { return poll < slow_from ? 1 : 5000; },
               slow_from + (PollSchedule::kLongestStride + 100) * 5000);
  EXPECT_EQ(schedule.Stride(), 1u);
  // The first look among the slow polls comes after up to a long stride of them, but from
  // there on every slow poll looks, so the window's turn is never later than one poll.
  std::vector<int64_t> slow_due;
  for (const int64_t time : due) {
    if (time > slow_from + PollSchedule::kLongestStride * 5000) slow_due.push_back(time);
  }
  ASSERT_GE(slow_due.size(), 2u);
  for (size_t i = 1; i < slow_due.size(); ++i) {
    EXPECT_GE(slow_due[i] - slow_due[i - 1], kInterval);
    EXPECT_LE(slow_due[i] - slow_due[i - 1], kInterval + 5000);
  }
}

TEST(PollSchedule, NeverDueMoreOftenThanTheIntervalWhateverThePolls) {
  PollSchedule schedule;
  FakeClock clock;
  // Poll spacings from 0 to 6 ms in a fixed, irregular order.
  uint32_t seed = 12345;
  const auto step = [&seed](int) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int64_t>((seed >> 8) % 6001);
  };
  const auto due = DueTimes(schedule, clock, step, 5 * kSecond, 3000);
  ASSERT_GE(due.size(), 100u);
  // Never early; late by at most one poll plus a stride's looks (slow polls reset the stride).
  ExpectGapsWithin(due, 3000, 6000 * 8);
}

TEST(PollSchedule, StartBeginsAFreshInterval) {
  PollSchedule schedule;
  FakeClock clock;
  DueTimes(schedule, clock, [](int) { return 1; }, 100000);
  ASSERT_GT(schedule.Stride(), 1u);
  clock.now += 3 * kInterval;
  schedule.Start(clock.now);
  EXPECT_EQ(schedule.Stride(), 1u);
  const int64_t start = clock.now;
  clock.now += kInterval - 1;
  EXPECT_FALSE(schedule.Due(clock));
  clock.now = start + kInterval;
  EXPECT_TRUE(schedule.Due(clock));
}

// A clock that stands still (a coarse clock, a suspended machine) makes every look come
// early; the stride stays at its longest, so the turn comes soon after the clock moves on.
TEST(PollSchedule, AClockThatStandsStillLeavesTheStrideAtItsLongest) {
  PollSchedule schedule;
  FakeClock clock;
  schedule.Start(clock.now);
  int due = 0;
  for (int poll = 0; poll < 200000; ++poll) due += schedule.Due(clock) ? 1 : 0;
  EXPECT_EQ(due, 0);
  EXPECT_EQ(schedule.Stride(), PollSchedule::kLongestStride);
  clock.now = kInterval;
  uint32_t polls = 1;
  while (!schedule.Due(clock) && polls <= 2 * PollSchedule::kLongestStride) ++polls;
  EXPECT_LE(polls, PollSchedule::kLongestStride);
}

}  // namespace
