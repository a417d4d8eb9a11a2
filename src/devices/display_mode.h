#pragma once

#include <cstdint>

#include "devices/device_state.h"
#include "platform/display.h"
#include "platform/event_pump.h"

namespace kav {

// Switches between the window and desktop full screen; FullScreenOn goes 0 -> 1 -> 0.
// Leaving full screen puts the window back at savedWindowRect.
void ToggleFullScreen(Display& display, EventPump& events, int32_t& FullScreenOn, const WindowRect& savedWindowRect);

// Releases the devices, puts the display back and ends the program (throws GameExit).
[[noreturn]] void ShutdownGame(Display& display, DeviceState& devices);

}  // namespace kav
