#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "base/trace.h"
#include "gfx/graphics.h"
#include "gfx/screen.h"
#include "platform/joystick.h"
#include "platform/platform.h"

namespace kav {

// What the message window reaches of the rest of the game.
struct MessageHost {
  Platform platform;
  Screen& screen;
  const GfxState& gfx;  // GlyphRows
  const Trace& trace;
  std::function<void()> tick;                  // the per-glyph sound: PlaySoundSlot(kTickSound, True, False)
  std::function<JoystickPoll()> pollJoystick;  // steps and button code
  std::function<void()> shutdown;              // Escape: ShutdownGame, which does not return
  // The tick silenced: PlaySoundSlot(kTickSound, False, False), then its buffer back to position 0
  // directly, whatever the sound switch says.
  std::function<void()> stopTick;
};

// Types the eleven lines into Picture4 glyph by glyph; prompt True puts the prompt into line
// 10; delay is the pause per glyph and is set to 0 when the player skips.
void TypeMessage(MessageHost& host, std::array<std::string, 11>& lines, int16_t prompt, int32_t& delay);

}  // namespace kav
