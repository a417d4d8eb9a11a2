#pragma once

#include <cstdint>
#include <functional>

#include "stages/stage_host.h"

namespace kav {

// The bits of the control byte.
constexpr uint8_t CtlFire = 1;
constexpr uint8_t CtlClimb = 2;
constexpr uint8_t CtlDive = 4;
constexpr uint8_t CtlLeft = 8;
constexpr uint8_t CtlRight = 16;

// The goal tests of the stage end that the bullet flight runs. Each returns True when the run
// must start over; one left empty counts as False.
struct GoalTests {
  std::function<int16_t()> CheckLanding;
  std::function<int16_t()> CheckTargetHit;
  std::function<int16_t()> CheckClimbingTargetHit;
  std::function<int16_t()> CheckGunnerHit;
};

// A pause of the stage routines: pending window events run first, so the window repaints.
void StagePause(StageHost& host, int32_t ms);

// Hidden and waiting below the visible area.
void HideAndPark(Control& sprite);

// One flight step: fire if asked and allowed, steer, integrate, cap, clamp, remember the byte.
// Reports a "shot" event when the rifle fires.
void FlyStep(StageHost& host, uint8_t controls);

// Lift-off: frames climb steps without a pause, the body following each one.
void AutoClimb(StageHost& host, int32_t frames);

// The rest-on-a-pad rule of a frame, on the frame's Controls: the helicopter is held still
// until Down alone lifts it off.
void RestOnPad(StageHost& host);

// The flight of a frame while not resting: FlyStep on the frame's Controls, then the body,
// the engine's pan and the ladder follow the helicopter.
void FlyFrame(StageHost& host);

// Whether a bullet is in flight: it is shown and the rifle is loaded.
bool BulletInFlight(const StageHost& host);

// The bullet flight and re-arm of a frame: with no bullet in flight the re-arm rule and then
// CheckLanding, otherwise one 4-pixel step of the bullet and, where it strikes, the stage's
// shot test. Returns True when a goal test asks for the run to start over. Reports a "strike"
// event where the bullet bursts.
int16_t BulletStep(StageHost& host, const GoalTests& tests);

// Gravity at the end of a frame that ended without an outcome.
void ApplyGravity(StageHost& host);

}  // namespace kav
