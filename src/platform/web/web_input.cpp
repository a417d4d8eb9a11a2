#include "platform/web/web_input.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/web/web_js.h"

namespace kav {
namespace {

constexpr int32_t kPadRefreshMs = 16;
constexpr int32_t kWaitWithoutPadMs = 100;

// Sleeps until the page queues an event or the time is up.
EM_ASYNC_JS(void, kav_web_wait_event, (int ms), {
  await new Promise(function(resolve) {
    var timer = setTimeout(
        function() {
          Module['kavWake'] = null;
          resolve();
        },
        ms);
    Module['kavWake'] = function() {
      clearTimeout(timer);
      Module['kavWake'] = null;
      resolve();
    };
  });
});

std::optional<PlatformEvent> ParseEvent(std::string_view line) {
  int kind = 0;
  PlatformEvent e;
  int used = 0;
  const std::string copy(line);
  if (std::sscanf(copy.c_str(), "%d %d %d %d %d %n", &kind, &e.x, &e.y, &e.vk, &e.mods, &used) < 5) {
    return std::nullopt;
  }
  e.kind = static_cast<PlatformEvent::Kind>(kind);
  e.text = copy.substr(static_cast<size_t>(used));
  return e;
}

}  // namespace

std::vector<PlatformEvent> WebInput::PollEvents() {
  std::vector<PlatformEvent> events;
  while (char* line = kav_web_next_event()) {
    if (std::optional<PlatformEvent> e = ParseEvent(line)) events.push_back(std::move(*e));
    std::free(line);
  }
  return events;
}

void WebInput::WaitForEvent(int32_t timeoutMs) {
  if (idleTask_) idleTask_();
  kav_web_idle();
  if (timeoutMs <= 0 || kav_web_event_pending() != 0) return;
  const bool padInUse = padInUse_ && padInUse_();
  kav_web_wait_event(std::max(timeoutMs, padInUse ? kPadRefreshMs : kWaitWithoutPadMs));
}

bool WebInput::KeyDown(int vk) {
  return kav_web_key_down(vk) != 0;
}

void WebInput::SetPointerOver(const PointerShape* shape, const WindowRect& area) {
  const int32_t a[4] = {area.Left, area.Top, area.Width, area.Height};
  if (shape == nullptr || shape->pixels.empty()) {
    kav_web_set_pointer(nullptr, 0, 0, 0, 0, 0, a);
    return;
  }
  kav_web_set_pointer(shape->pixels.data(), shape->width, shape->height, shape->hotX, shape->hotY, shape->key, a);
}

}  // namespace kav
