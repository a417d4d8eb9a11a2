#pragma once

#include <functional>

#include "platform/input.h"

namespace kav {

// Keyboard, mouse and focus events of the page's canvas, queued by the page and taken here.
class WebInput final : public Input {
 public:
  std::vector<PlatformEvent> PollEvents() override;
  void WaitForEvent(int32_t timeoutMs) override;
  bool KeyDown(int vk) override;
  // A tab that closes takes the game with it; there is no close to hear about.
  bool ClosePending() override { return false; }
  // Browsers do not let a page move the pointer.
  void WarpMouse(int /*x*/, int /*y*/) override {}
  void SetPointerOver(const PointerShape* shape, const WindowRect& area) override;
  // Runs as every wait for an event begins.
  void SetIdleTask(std::function<void()> task) { idleTask_ = std::move(task); }
  // Whether a pad is read between events. The page wakes the game for every event, so a wait
  // asked to end sooner lasts until the browser next refreshes the pad's state (every 16 ms), or
  // without a pad until an event or a tenth of a second: more passes of a dialog would read the
  // same state again and only cost the player's battery.
  void SetPadInUse(std::function<bool()> inUse) { padInUse_ = std::move(inUse); }

 private:
  std::function<void()> idleTask_;
  std::function<bool()> padInUse_;
};

}  // namespace kav
