#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/boolean.h"

namespace kav {

// One force-feedback effect description: the fields the game sets, all others zero.
struct EffectSpec {
  int32_t Duration = 0;  // microseconds, -1 infinite
  int32_t SamplePeriod = 0;
  int32_t Gain = 0;
  int32_t TriggerButton = 0;
  int32_t TriggerRepeat = 0;
  int32_t DirectionX = 0;
  int32_t DirectionY = 0;
  int32_t Magnitude = 0;
};

template <class V>
void VisitFields(EffectSpec& s, V&& v) {
  v("Duration", s.Duration);
  v("SamplePeriod", s.SamplePeriod);
  v("Gain", s.Gain);
  v("TriggerButton", s.TriggerButton);
  v("TriggerRepeat", s.TriggerRepeat);
  v("DirectionX", s.DirectionX);
  v("DirectionY", s.DirectionY);
  v("Magnitude", s.Magnitude);
}

// The devices' slice of the game's state register. The device objects themselves live in the
// platform; these flags say whether the game holds one.
struct DeviceState {
  bool DirectXRoot = false;
  // The display switch; exists from start-up on.
  bool DisplayObject = false;
  bool SoundDevice = false;
  std::array<bool, 13> SoundBuffers{};  // slots 1..12; 0 stays empty
  std::array<int32_t, 13> SoundBaseVolume{};
  bool InputRoot = false;
  bool JoystickDevice = false;
  int16_t JoystickPresent = kFalse;
  int16_t ForceFeedbackReady = kFalse;
  std::array<EffectSpec, 4> EffectSpecs{};
  std::array<std::string, 4> EffectGuids;
  std::array<bool, 11> EffectObjects{};
};

// Every variable of the slice under its own name; a test counts the members.
template <class V>
void VisitVars(DeviceState& s, V&& v) {
  v("DirectXRoot", s.DirectXRoot);
  v("DisplayObject", s.DisplayObject);
  v("SoundDevice", s.SoundDevice);
  v("SoundBuffers", s.SoundBuffers);
  v("SoundBaseVolume", s.SoundBaseVolume);
  v("InputRoot", s.InputRoot);
  v("JoystickDevice", s.JoystickDevice);
  v("JoystickPresent", s.JoystickPresent);
  v("ForceFeedbackReady", s.ForceFeedbackReady);
  v("EffectSpecs", s.EffectSpecs);
  v("EffectGuids", s.EffectGuids);
  v("EffectObjects", s.EffectObjects);
}

}  // namespace kav
