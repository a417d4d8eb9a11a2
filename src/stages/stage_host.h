#pragma once

#include <functional>

#include "base/trace.h"
#include "devices/input_devices.h"
#include "devices/sound_bank.h"
#include "gfx/graphics.h"
#include "gfx/screen.h"
#include "platform/platform.h"
#include "stages/run_state.h"

namespace kav {

// What the stage routines (flight, rifle, collisions) reach of the game: the run and screen
// slices of the state register, the screen with picP, the platform's clock, the sound bank and
// the pad. The game makes one for each call.
struct StageHost {
  RunState& run;
  GfxState& gfx;
  Screen& screen;
  Platform platform;
  SoundBank sound;
  InputDevices input;
  const Trace& trace;
  // The boat's trip to the harbour, run from a landing on the boat; filled in with the
  // scripted sequences.
  std::function<void()> ferry;
};

}  // namespace kav
