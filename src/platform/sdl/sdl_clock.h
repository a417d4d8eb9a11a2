#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace kav {

struct LocalClock {
  int Month = 1;  // 1..12
  int Day = 1;    // 1..31
  double SecondsSinceMidnight = 0;
};
LocalClock LocalClockAt(std::chrono::system_clock::time_point when);

// A steady millisecond counter from the clock's making, and the system's local calendar.
class SdlClock final : public Clock {
 public:
  SdlClock() : epoch_(std::chrono::steady_clock::now()) {}
  int32_t Ticks() override;
  void Sleep(int32_t ms) override;
  void LocalDate(int& month, int& day) override;
  double SecondsSinceMidnight() override;
  // Run as each sleep begins, and every few milliseconds of it while the task answers true
  // (a pad's pulses are timed by it).
  void SetIdleTask(std::function<bool()> task) { idleTask_ = std::move(task); }

 private:
  std::chrono::steady_clock::time_point epoch_;
  std::function<bool()> idleTask_;
};

}  // namespace kav
