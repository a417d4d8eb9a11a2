#pragma once

#include "platform/platform.h"
#include "platform/sdl/sdl_clock.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_files.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_messages.h"

namespace kav {

// The real game's platform: each side on SDL. The input and the messages need the window, so
// they are made after the display and go before it.
struct SdlPlatform {
  SdlClock clock;
  SdlDisplay display;
  SdlInput input{display};
  SdlFiles files;
  SdlMessages messages{display};

  Platform Sides() { return Platform{clock, display, input, files, messages}; }
};

}  // namespace kav
