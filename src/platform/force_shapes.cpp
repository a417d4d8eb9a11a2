#include "platform/force_shapes.h"

#include <algorithm>
#include <cstdlib>

namespace kav {
namespace {

constexpr double kFull = 10000.0;
// A low engine shudder: the heavy motor at under half, a touch of the light one, a 25 Hz wave.
constexpr ForceShape kDieselShudder{.large = 0.45, .small = 0.12, .periodMs = 40};
// Stuttering knocks: both motors hard, 80 ms on and 80 ms off.
constexpr ForceShape kOutOfAmmoPulses{.large = 0.9, .small = 0.6, .periodMs = 160, .pulses = true};
constexpr ForceShape kJolt{.large = 1.0, .small = 1.0, .ms = 120};

int32_t LengthMs(const ForceEffectParams& params) {
  // Any negative duration is the game's "infinite" (0xFFFFFFFF read as signed).
  return params.durationUs < 0 ? -1 : params.durationUs / 1000;
}

}  // namespace

int ForceEffectSlotOf(const std::string& guid) {
  for (size_t i = 0; i < kForceEffectNames.size(); ++i) {
    if (guid == kForceEffectNames[i].guid) return static_cast<int>(i);
  }
  return -1;
}

ForceShape ShapeOfEffect(int slot, const ForceEffectParams& params) {
  ForceShape shape;
  switch (slot) {
    case kConstantForceEffect: {
      const double magnitude = std::min(std::abs(static_cast<double>(params.magnitude)), kFull) / kFull;
      const double gain = std::clamp(static_cast<double>(params.gain), 0.0, kFull) / kFull;
      shape.large = shape.small = magnitude * gain;
      break;
    }
    case kOutOfAmmoEffect:
      shape = kOutOfAmmoPulses;
      break;
    case kPunchedEffect:
      shape.armsTrigger = true;
      break;
    case kDieselEngineIdleEffect:
      shape = kDieselShudder;
      break;
    default:
      return shape;
  }
  shape.ms = LengthMs(params);
  if (shape.ms == 0) shape.large = shape.small = 0;
  return shape;
}

ForceShape PunchJolt() {
  return kJolt;
}

MotorLevels LevelsAt(const ForceShape& shape, int64_t t) {
  if (t < 0 || (shape.ms >= 0 && t >= shape.ms)) return {};
  if (shape.pulses && shape.periodMs > 0 && t % shape.periodMs >= shape.periodMs / 2) return {};
  return {shape.large, shape.small};
}

int64_t NextChangeAfter(const ForceShape& shape, int64_t t) {
  int64_t next = -1;
  if (shape.pulses && shape.periodMs > 0) {
    const int64_t half = shape.periodMs / 2;
    next = (t / half + 1) * half;
  }
  if (shape.ms >= 0 && (next < 0 || next > shape.ms)) next = shape.ms;
  return next > t ? next : -1;
}

bool PunchTrigger::Fires(bool firstButtonDown) {
  const bool press = firstButtonDown && !wasDown_;
  wasDown_ = firstButtonDown;
  return press && armed_;
}

}  // namespace kav
