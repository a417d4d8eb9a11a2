#include "platform/web/web_clock.h"

#include <emscripten.h>
#include <emscripten/em_js.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <ctime>

#include "platform/web/web_js.h"

namespace kav {
namespace {

// A sleep that wakes the game from a message task, not from the timer's own: timers set from
// inside timers are held to at least 4 ms after a few in a row, which would make every short
// sleep of the frame loop a long one. The last spinMs are waited out on the thread: a timer
// comes late by as long as the page is busy painting when it is due, and the frame loop's
// deadlines would come late with it.
EM_ASYNC_JS(void, kav_web_sleep, (double ms, double spinMs), {
  if (!Module['kavAfter']) {
    var channel = new MessageChannel();
    var waiting = [];
    channel.port1.onmessage = function() {
      waiting.shift()();
    };
    Module['kavAfter'] = function(delay, wake) {
      setTimeout(
          function() {
            waiting.push(wake);
            channel.port2.postMessage(0);
          },
          delay);
    };
  }
  var until = performance.now() + ms;
  await new Promise(function(resolve) {
    Module['kavAfter'](
        ms - spinMs, function() {
          while (performance.now() < until) {
          }
          resolve();
        });
  });
});

// Sleeps this long or longer end on the thread (the frame loop's); the key waits' short steps
// never do, nor the steps a pad's pulses cut a sleep into.
constexpr double kSpinFromMs = 8;
constexpr double kSpinMs = 2;

}  // namespace

WebClock::WebClock() : start_(kav_web_now()) {}

int32_t WebClock::Ticks() {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(kav_web_now() - start_)));
}

void WebClock::Sleep(int32_t ms) {
  // Counted from the start of the current tick, as Ticks() counts: a wait to a tick deadline
  // ends on that tick, not up to a millisecond past it. Taken before the idle work, which is
  // part of the wait.
  const double end = start_ + std::floor(kav_web_now() - start_) + std::max(ms, 0);
  kav_web_idle();
  for (;;) {
    const bool again = idleTask_ && idleTask_();
    const double left = end - kav_web_now();
    if (left <= 0) return;
    const double wait = again ? std::min(left, 10.0) : left;
    kav_web_sleep(wait, wait == left && wait >= kSpinFromMs ? kSpinMs : 0);
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
