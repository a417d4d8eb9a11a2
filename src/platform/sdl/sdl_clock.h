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

// SDL's millisecond counter and the system's local calendar.
class SdlClock final : public Clock {
 public:
  int32_t Ticks() override;
  void Sleep(int32_t ms) override;
  void LocalDate(int& month, int& day) override;
  double SecondsSinceMidnight() override;
  // Run every few milliseconds while the game sleeps (a pad's pulses are timed by it).
  void SetIdleTask(std::function<void()> task) { idleTask_ = std::move(task); }

 private:
  std::function<void()> idleTask_;
};

}  // namespace kav
