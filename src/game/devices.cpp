#include "game/devices.h"

namespace kav {

SoundBank Sounds(Game& g) {
  return SoundBank{g, *g.audio, g.SoundSwitch, g.trace};
}

InputDevices Inputs(Game& g) {
  return InputDevices{g, *g.joystick, g.trace};
}

void PlaySoundSlot(Game& g, int32_t slot, int16_t start, int16_t loop) {
  PlaySoundSlot(Sounds(g), slot, start, loop);
}

void PanSoundSlot(Game& g, int32_t slot, int32_t x) {
  PanSoundSlot(Sounds(g), slot, x);
}

void AttenuateSoundSlot(Game& g, int32_t slot, int32_t amount) {
  AttenuateSoundSlot(Sounds(g), slot, amount);
}

void InitInputDevices(Game& g) {
  InitInputDevices(Inputs(g));
}

void PollJoystick(Game& g, double& x, double& y, int32_t& button) {
  PollJoystick(Inputs(g), x, y, button);
}

void StartForceEffect(Game& g, int16_t n) {
  StartForceEffect(Inputs(g), n);
}

void StopForceEffect(Game& g, int16_t n) {
  StopForceEffect(Inputs(g), n);
}

}  // namespace kav
