#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/texts.h"
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
  const Texts& texts;  // the prompt's language
};

// The prompt that line 10 becomes.
extern const char* const kPromptLine;

// The glyphs stand in columns 1 to 24 of a line; the 25th would pass the edge of its panel.
constexpr int kMessageColumns = 24;

// How a line lies in the window: the last column it takes, and the first character that the
// glyph rows hold no glyph for (0: none), which would draw as a gap.
struct MessageLineFit {
  int columns = 0;
  char32_t missing = 0;
};
MessageLineFit FitMessageLine(const std::array<std::string, 5>& glyphRows, std::string_view line);

// Types the eleven lines into Picture4 glyph by glyph; prompt True puts the prompt into line
// 10; delay is the pause per glyph and is set to 0 when the player skips.
void TypeMessage(MessageHost& host, std::array<std::string, 11>& lines, int16_t prompt, int32_t& delay);

}  // namespace kav
