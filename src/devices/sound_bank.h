#pragma once

#include <cstdint>
#include <string>

#include "base/trace.h"
#include "devices/device_state.h"
#include "devices/sound_slots.h"
#include "platform/audio.h"

namespace kav {

// What the sound routines reach: the device slice, the mixer and the sound switch.
struct SoundBank {
  DeviceState& devices;
  Audio& audio;
  const std::string& soundSwitch;
  const Trace& trace;
};

// Opens the sound device and loads kavrona_w01.wav .. kavrona_w12.wav from appDir. A file that
// cannot be read leaves its slot silent; no device leaves them all silent.
void CreateSoundBank(SoundBank bank, const std::string& appDir);

// start True: rewind and play (looping when loop is True); start False: stop and centre the
// pan; any other start value: nothing. Nothing at all while the switch is not "ON".
void PlaySoundSlot(SoundBank bank, int32_t slot, int16_t start, int16_t loop);
// Pans the slot to screen column x: 2 * x - 800.
void PanSoundSlot(SoundBank bank, int32_t slot, int32_t x);
// Lowers the slot's volume from its loaded level by 5 * amount hundredths of a decibel.
void AttenuateSoundSlot(SoundBank bank, int32_t slot, int32_t amount);

}  // namespace kav
