#pragma once

#include <cstdint>

#include "base/trace.h"
#include "devices/device_state.h"
#include "platform/force_shapes.h"
#include "platform/joystick.h"

namespace kav {

// What the input routines reach: the device slice and the pad.
struct InputDevices {
  DeviceState& devices;
  Joystick& joystick;
  const Trace& trace;
};

// Opens the first attached pad and matches its force-feedback effects to the game's four.
void InitInputDevices(InputDevices d);
// The steps (-7..6 across each axis) and the button code: 0 none, 1 first, 2 second (the second
// wins). All zero without a pad.
void PollJoystick(InputDevices d, double& x, double& y, int32_t& button);
// Effects 0..3 (kConstantForceEffect .. kDieselEngineIdleEffect); nothing while ForceFeedbackReady is False.
void StartForceEffect(InputDevices d, int16_t n);
void StopForceEffect(InputDevices d, int16_t n);
// The shutdown's part: the pad is let go and released.
void ReleaseInputDevices(InputDevices d);

// The step for a raw SDL-range axis value, as the game computes it from the 0..65535 range.
double JoystickStep(int32_t axis);

}  // namespace kav
