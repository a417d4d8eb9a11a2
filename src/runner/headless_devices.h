#pragma once

#include "game/game.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_joystick.h"
#include "platform/headless/headless_platform.h"

namespace kav::runner {

// The headless platform's sound, pad and text input, handed to the game as the real game's
// would be. Outlives the game.
struct HeadlessDevices {
  explicit HeadlessDevices(HeadlessPlatform& platform) : platform(platform), joystick(platform.pad) {}

  void HandTo(Game& game, Fonts* fonts) {
    game.fonts = fonts;
    game.textInput = &platform.textInput;
    game.audio = &audio;
    game.joystick = &joystick;
  }

  HeadlessPlatform& platform;
  HeadlessAudio audio;
  HeadlessJoystick joystick;
};

}  // namespace kav::runner
