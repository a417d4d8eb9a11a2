#include "platform/sdl/sdl_clock.h"

#include <algorithm>
#include <ctime>
#include <thread>

namespace kav {

LocalClock LocalClockAt(std::chrono::system_clock::time_point when) {
  const auto whole = std::chrono::floor<std::chrono::seconds>(when);
  const std::time_t seconds = std::chrono::system_clock::to_time_t(whole);
  std::tm local{};
  localtime_r(&seconds, &local);
  LocalClock clock;
  clock.Month = local.tm_mon + 1;
  clock.Day = local.tm_mday;
  clock.SecondsSinceMidnight =
      local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + std::chrono::duration<double>(when - whole).count();
  return clock;
}

int32_t SdlClock::Ticks() {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - epoch_);
  return static_cast<int32_t>(static_cast<uint32_t>(ms.count()));
}

void SdlClock::Sleep(int32_t ms) {
  if (ms <= 0) {
    return;
  }
  using std::chrono::milliseconds;
  // Wake as the count turns to its new value, not somewhere inside that millisecond: the play
  // loop's frames then keep a whole period apart instead of wandering by the count's rounding.
  const auto now = std::chrono::steady_clock::now();
  const auto end = epoch_ + std::chrono::floor<milliseconds>(now - epoch_) + milliseconds(ms);
  constexpr milliseconds kIdleSlice{10};
  for (;;) {
    // One wake-up a sleep unless the task has something to time; each one may come late.
    const bool again = idleTask_ && idleTask_();
    const auto at = std::chrono::steady_clock::now();
    if (at >= end) {
      return;
    }
    std::this_thread::sleep_until(again ? std::min(end, at + kIdleSlice) : end);
  }
}

void SdlClock::LocalDate(int& month, int& day) {
  const LocalClock clock = LocalClockAt(std::chrono::system_clock::now());
  month = clock.Month;
  day = clock.Day;
}

double SdlClock::SecondsSinceMidnight() {
  return LocalClockAt(std::chrono::system_clock::now()).SecondsSinceMidnight;
}

}  // namespace kav
