#include "platform/web/web_clock.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/web/web_js.h"

namespace kav {

WebClock::WebClock() : start_(kav_web_now()) {}

int32_t WebClock::Ticks() {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(kav_web_now() - start_)));
}

void WebClock::Sleep(int32_t ms) {
  kav_web_idle();
  if (ms <= 0) return;
  const double end = kav_web_now() + ms;
  for (;;) {
    const bool again = idleTask_ && idleTask_();
    const double left = end - kav_web_now();
    if (left <= 0) return;
    emscripten_sleep(static_cast<unsigned>(std::ceil(again ? std::min(left, 10.0) : left)));
    if (kav_web_now() >= end) return;
  }
}

void WebClock::LocalDate(int& month, int& day) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  month = local.tm_mon + 1;
  day = local.tm_mday;
}

double WebClock::SecondsSinceMidnight() {
  const double nowMs = emscripten_date_now();
  const auto seconds = static_cast<std::time_t>(nowMs / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + std::fmod(nowMs, 1000.0) / 1000.0;
}

}  // namespace kav
