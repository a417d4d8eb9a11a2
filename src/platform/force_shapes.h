#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/joystick.h"

namespace kav {

// The game's four effects by slot, as a pad driver names them.
enum ForceEffectSlot : int {
  kConstantForceEffect = 0,
  kOutOfAmmoEffect = 1,
  kPunchedEffect = 2,
  kDieselEngineIdleEffect = 3,
};
constexpr int kForceEffectCount = 4;

// The names the game looks for and the texts a pad reports for them (ours: a pad driver of
// ours has no texts of its own, they only have to stay the same from run to run).
struct ForceEffectName {
  const char* name;
  const char* guid;
};
inline constexpr std::array<ForceEffectName, kForceEffectCount> kForceEffectNames{{
    {"Constant Force", "{4B415652-0000-0000-0000-000000000001}"},
    {"OutOfAmmo", "{4B415652-0000-0000-0000-000000000002}"},
    {"Punched", "{4B415652-0000-0000-0000-000000000003}"},
    {"DieselEngineIdle", "{4B415652-0000-0000-0000-000000000004}"},
}};
// The slot of an effect by its text; -1 for one the game does not know.
int ForceEffectSlotOf(const std::string& guid);

// The data offset of the first button in the classic joystick state layout: the button that
// fires the armed "Punched" effect.
constexpr int32_t kFirstButtonOffset = 48;

// What a pad plays for one effect. The named effects are the driver's own and the game hands
// them no strength, so each has a shape of its own here; only "Constant Force" is made from the
// game's magnitude.
struct ForceShape {
  double large = 0;          // the low, heavy motor, 0..1
  double small = 0;          // the high, light motor, 0..1
  int32_t ms = 0;            // how long it plays; -1 until stopped
  int32_t periodMs = 0;      // 0: steady; else the wave's period
  bool pulses = false;       // on for the first half of each period, off for the second
  bool armsTrigger = false;  // plays nothing itself; each press of the first button jolts

  double Felt() const { return large > small ? large : small; }
  ForceFelt AsFelt() const { return {Felt(), ms}; }
};

// The shape of the effect in the slot, played with the game's parameters.
ForceShape ShapeOfEffect(int slot, const ForceEffectParams& params);
// The short, strong jolt of a press of the first button while "Punched" is armed.
ForceShape PunchJolt();

// The motors' levels t milliseconds after the shape started (zero once it has ended).
struct MotorLevels {
  double large = 0;
  double small = 0;
};
MotorLevels LevelsAt(const ForceShape& shape, int64_t t);
// When, in milliseconds from its start, the shape's levels next change after t; -1 never.
int64_t NextChangeAfter(const ForceShape& shape, int64_t t);

// "Punched" fires on the pad's side: armed by its start, disarmed by its stop, and every press
// (not a button held down) of the first button while armed gives a jolt.
class PunchTrigger {
 public:
  void Arm(bool armed) { armed_ = armed; }
  bool Armed() const { return armed_; }
  // The first button's state at a read; true when this read is a press that fires the jolt.
  bool Fires(bool firstButtonDown);

 private:
  bool armed_ = false;
  bool wasDown_ = false;
};

}  // namespace kav
