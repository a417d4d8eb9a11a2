#include "platform/sdl/sdl_clock.h"

#include <SDL.h>

#include <algorithm>
#include <ctime>

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
  return static_cast<int32_t>(static_cast<uint32_t>(SDL_GetTicks64()));
}

void SdlClock::Sleep(int32_t ms) {
  if (ms <= 0) {
    return;
  }
  if (!idleTask_) {
    SDL_Delay(static_cast<Uint32>(ms));
    return;
  }
  constexpr Uint64 kIdleSliceMs = 10;
  const Uint64 end = SDL_GetTicks64() + static_cast<Uint64>(ms);
  for (;;) {
    // One wake-up a sleep unless the task has something to time; each one may come late.
    const bool again = idleTask_();
    const Uint64 now = SDL_GetTicks64();
    if (now >= end) {
      return;
    }
    SDL_Delay(static_cast<Uint32>(again ? std::min(end - now, kIdleSliceMs) : end - now));
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
