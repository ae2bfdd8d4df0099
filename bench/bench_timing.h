// Timing helpers shared by the bench programs: a monotonic clock in milliseconds and one
// result line per measurement (name, then every repetition's time).
#pragma once

#include <chrono>
#include <iostream>
#include <string>
#include <vector>

/// Milliseconds since an arbitrary fixed point.
inline double NowMs() {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

/// Prints "name t1 t2 ..." (milliseconds) for the bench script to gather.
inline void PrintTimes(const std::string& name, const std::vector<double>& times) {
  std::cout << name;
  for (const double time : times) std::cout << ' ' << time;
  std::cout << std::endl;
}
