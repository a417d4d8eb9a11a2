#include "devices/display_mode.h"

#include "platform/game_exit.h"

namespace kav {

void ToggleFullScreen(Platform& platform, EventPump& events, int32_t& FullScreenOn, const WindowRect& savedWindowRect) {
  if (FullScreenOn == 0) {
    platform.SetFullScreen(true);
    FullScreenOn = 1;
  } else if (FullScreenOn == 1) {
    platform.SetFullScreen(false);
    FullScreenOn = 0;
    platform.SetWindowRect(savedWindowRect);
  }
  events.DoEvents();
}

void ShutdownGame(Platform& platform, DeviceState& devices) {
  // Whatever FullScreenOn says, the desktop gets its display back.
  if (platform.IsFullScreen()) platform.SetFullScreen(false);
  devices.DisplayObject = false;
  throw GameExit{0};
}

}  // namespace kav
