#include "devices/input_devices.h"

#include <cmath>
#include <string_view>

#include "base/boolean.h"

namespace kav {
namespace {

struct EffectRow {
  std::string_view name;
  int slot;
  int32_t duration;
  int32_t directionX;
  int32_t magnitude;
};

// Looked for in this order; a later effect of the same name overwrites an earlier one.
constexpr EffectRow kEffects[] = {
    {"DieselEngineIdle", kDieselEngineIdleEffect, 1000000, 5, 0},
    {"OutOfAmmo", kOutOfAmmoEffect, 1000000, 0, 0},
    {"Punched", kPunchedEffect, -1, 0, 0},
    {"Constant Force", kConstantForceEffect, 2000000, 0, 100000},
};

ForceEffectParams ParamsOf(const EffectSpec& s) {
  ForceEffectParams p;
  p.durationUs = s.Duration;
  p.samplePeriod = s.SamplePeriod;
  p.gain = s.Gain;
  p.triggerButton = s.TriggerButton;
  p.triggerRepeat = s.TriggerRepeat;
  p.directionX = s.DirectionX;
  p.directionY = s.DirectionY;
  p.magnitude = s.Magnitude;
  return p;
}

// A fresh effect object from the slot's description, started or stopped on the device.
void PlayEffect(InputDevices& d, int16_t n, bool start) {
  if (d.devices.ForceFeedbackReady != kTrue) return;
  if (n < 0 || n >= kForceEffectCount) return;
  const size_t slot = static_cast<size_t>(n);
  const std::string& guid = d.devices.EffectGuids[slot];
  d.devices.EffectObjects[slot] = !guid.empty();
  // An effect the device did not offer cannot be made; the game goes on without it.
  if (guid.empty()) return;
  const EffectSpec& desc = d.devices.EffectSpecs[slot];
  const ForceEffectParams params = ParamsOf(desc);
  ForcePlay played;
  if (start) {
    played = d.joystick.StartEffect(guid, params);
  } else {
    played.accepted = d.joystick.StopEffect(guid, params);
  }
  if (!played.accepted) return;
  d.trace.Emit("force", [&](TraceEvent& e) {
    e.Add("op", start ? "start" : "stop")
        .Add("effect", n)
        .Add("duration", desc.Duration)
        .Add("magnitude", desc.Magnitude)
        .Add("gain", desc.Gain);
    if (start) e.Add("felt", played.felt.strength).Add("ms", played.felt.ms);
  });
}

}  // namespace

double JoystickStep(int32_t axis) {
  const double raw = static_cast<double>(axis) + 32768.0;  // the 0..65535 range
  return std::floor((raw - 32768.0) * 0.00002136 * 10.0);
}

void InitInputDevices(InputDevices d) {
  DeviceState& s = d.devices;
  s.DirectXRoot = true;
  s.InputRoot = true;
  if (!d.joystick.Open()) return;
  s.JoystickPresent = kTrue;
  s.JoystickDevice = true;
  if (d.joystick.HasForceFeedback()) {
    const std::vector<int32_t> triggers = d.joystick.TriggerButtons();
    for (const ForceEffectInfo& effect : d.joystick.Effects()) {
      for (const EffectRow& row : kEffects) {
        if (effect.name != row.name) continue;
        EffectSpec& desc = s.EffectSpecs[static_cast<size_t>(row.slot)];
        desc.Duration = row.duration;
        desc.SamplePeriod = 1000;
        desc.Gain = 10000;
        desc.TriggerRepeat = -1;
        desc.TriggerButton = row.slot == kPunchedEffect ? (triggers.empty() ? -1 : triggers.front()) : -1;
        desc.DirectionX = row.directionX;
        desc.DirectionY = 0;
        desc.Magnitude = row.magnitude;
        s.EffectGuids[static_cast<size_t>(row.slot)] = effect.guid;
      }
    }
  }
  const bool ready = !s.EffectGuids[kConstantForceEffect].empty() && !s.EffectGuids[kOutOfAmmoEffect].empty() &&
                     !s.EffectGuids[kPunchedEffect].empty();
  s.ForceFeedbackReady = ready ? kTrue : kFalse;
}

void PollJoystick(InputDevices d, double& x, double& y, int32_t& button) {
  x = 0;
  y = 0;
  button = 0;
  if (!d.devices.JoystickDevice || d.devices.JoystickPresent != kTrue) return;
  const JoystickState state = d.joystick.Read();
  x = JoystickStep(state.axisX);
  y = JoystickStep(state.axisY);
  if (state.button1) button = 1;
  if (state.button2) button = 2;
  // The armed "Punched" effect fires on the pad itself; the game only hears of it here.
  if (state.triggered) {
    d.trace.Emit("force", [&](TraceEvent& e) {
      e.Add("op", "trigger")
          .Add("effect", static_cast<int>(kPunchedEffect))
          .Add("felt", state.triggered->strength)
          .Add("ms", state.triggered->ms);
    });
  }
}

void StartForceEffect(InputDevices d, int16_t n) {
  PlayEffect(d, n, true);
}

void StopForceEffect(InputDevices d, int16_t n) {
  PlayEffect(d, n, false);
}

void ReleaseInputDevices(InputDevices d) {
  d.joystick.Close();
  d.devices.JoystickDevice = false;
  d.devices.InputRoot = false;
}

}  // namespace kav
