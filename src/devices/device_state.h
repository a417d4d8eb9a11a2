#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/boolean.h"
#include "base/state_vars.h"

namespace kav {

// One force-feedback effect description: the fields the game sets, all others zero.
#define KAV_EFFECT_SPEC_FIELDS(VAR)                         \
  VAR(int32_t, Duration, 0) /* microseconds, -1 infinite */ \
  VAR(int32_t, SamplePeriod, 0)                             \
  VAR(int32_t, Gain, 0)                                     \
  VAR(int32_t, TriggerButton, 0)                            \
  VAR(int32_t, TriggerRepeat, 0)                            \
  VAR(int32_t, DirectionX, 0)                               \
  VAR(int32_t, DirectionY, 0)                               \
  VAR(int32_t, Magnitude, 0)

struct EffectSpec {
  KAV_EFFECT_SPEC_FIELDS(KAV_DECLARE_VAR)
};

template <class V>
void VisitFields(EffectSpec& s, V&& v) {
  KAV_EFFECT_SPEC_FIELDS(KAV_VISIT_VAR)
}

// The devices' slice of the game's state register, each variable once. The device objects
// themselves live in the platform; these flags say whether the game holds one.
#define KAV_DEVICE_STATE_VARS(VAR)                                                       \
  VAR(bool, DirectXRoot, false)                                                          \
  VAR(bool, DisplayObject, false) /* the display switch; exists from start-up on */      \
  VAR(bool, SoundDevice, false)                                                          \
  VAR(KAV_TYPE(std::array<bool, 13>), SoundBuffers, {}) /* slots 1..12; 0 stays empty */ \
  VAR(KAV_TYPE(std::array<int32_t, 13>), SoundBaseVolume, {})                            \
  VAR(bool, InputRoot, false)                                                            \
  VAR(bool, JoystickDevice, false)                                                       \
  VAR(int16_t, JoystickPresent, kFalse)                                                  \
  VAR(int16_t, ForceFeedbackReady, kFalse)                                               \
  VAR(KAV_TYPE(std::array<EffectSpec, 4>), EffectSpecs, {})                              \
  VAR(KAV_TYPE(std::array<std::string, 4>), EffectGuids, {})                             \
  VAR(KAV_TYPE(std::array<bool, 11>), EffectObjects, {})

struct DeviceState {
  KAV_DEVICE_STATE_VARS(KAV_DECLARE_VAR)
};

// Every variable of the slice under its own name.
template <class V>
void VisitVars(DeviceState& s, V&& v) {
  KAV_DEVICE_STATE_VARS(KAV_VISIT_VAR)
}

}  // namespace kav
