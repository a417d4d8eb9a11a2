#pragma once

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
};

}  // namespace kav
