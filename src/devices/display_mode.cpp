#include "devices/display_mode.h"

#include "base/game_exit.h"

namespace kav {

void ToggleFullScreen(Display& display, EventPump& events, int32_t& FullScreenOn, const WindowRect& savedWindowRect) {
  if (FullScreenOn == 0) {
    display.SetFullScreen(true);
    FullScreenOn = 1;
  } else if (FullScreenOn == 1) {
    display.SetFullScreen(false);
    FullScreenOn = 0;
    display.SetWindowRect(savedWindowRect);
  }
  events.DoEvents();
}

void ShutdownGame(Display& display, DeviceState& devices) {
  // Whatever FullScreenOn says, the desktop gets its display back.
  if (display.IsFullScreen()) display.SetFullScreen(false);
  devices.DisplayObject = false;
  throw GameExit{0};
}

}  // namespace kav
