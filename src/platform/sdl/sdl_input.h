#pragma once

#include <cstdint>
#include <vector>

#include "platform/input.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_keys.h"

struct SDL_Cursor;
union SDL_Event;

namespace kav {

// The keyboard, the mouse and the window's events on SDL. Key states are SDL's, with the keys
// held through a focus loss kept up until pressed again.
class SdlInput final : public Input {
 public:
  explicit SdlInput(SdlDisplay& display);
  ~SdlInput() override;
  SdlInput(const SdlInput&) = delete;
  SdlInput& operator=(const SdlInput&) = delete;

  std::vector<PlatformEvent> PollEvents() override;
  void WaitForEvent(int32_t timeoutMs) override;
  bool KeyDown(int vk) override;
  bool ClosePending() override;
  void WarpMouse(int x, int y) override;
  void SetPointerOver(const PointerShape* shape, const WindowRect& area) override;

 private:
  static int WatchEvent(void* self, SDL_Event* event);
  bool ScancodeDown(const uint8_t* state, int scancode) const;
  void UpdatePointer(int frameX, int frameY);
  void PumpWithoutDispatch();

  SdlDisplay& display_;
  bool watching_ = false;
  HeldKeyFilter heldKeys_;
  bool closePending_ = false;
  bool repaintPending_ = false;
  SDL_Cursor* shapedCursor_ = nullptr;
  const PointerShape* pointerShape_ = nullptr;
  WindowRect pointerArea_;
  bool pointerShaped_ = false;
};

}  // namespace kav
