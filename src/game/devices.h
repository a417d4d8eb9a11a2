#pragma once

#include <cstdint>

#include "devices/input_devices.h"
#include "devices/sound_bank.h"
#include "game/game.h"

namespace kav {

// The sound bank and the input devices as the game's routines call them.
SoundBank Sounds(Game& g);
InputDevices Inputs(Game& g);

void PlaySoundSlot(Game& g, int32_t slot, int16_t start, int16_t loop);
void PanSoundSlot(Game& g, int32_t slot, int32_t x);
void AttenuateSoundSlot(Game& g, int32_t slot, int32_t amount);

void InitInputDevices(Game& g);
void PollJoystick(Game& g, double& x, double& y, int32_t& button);
void StartForceEffect(Game& g, int16_t n);
void StopForceEffect(Game& g, int16_t n);

}  // namespace kav
