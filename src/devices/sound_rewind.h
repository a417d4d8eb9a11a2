#pragma once

#include <cstdint>

#include "devices/sound_bank.h"

namespace kav {

// Sets the slot's buffer back to its start without playing it. The game does this on the
// buffer itself, so the sound switch does not hold it back.
void RewindSoundSlot(SoundBank bank, int32_t slot);

}  // namespace kav
