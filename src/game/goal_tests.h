#pragma once

#include <cstdint>

#include "game/game.h"
#include "stages/flight.h"

namespace kav {

// The goal tests of the stage end. Each carries out the whole clear when its goal is met and
// returns True when the run must start over (after a select play or the last stage).
int16_t CheckLanding(Game& g);
int16_t CheckTargetHit(Game& g);
int16_t CheckClimbingTargetHit(Game& g);
int16_t CheckGunnerHit(Game& g);

// The four, as the bullet flight calls them.
GoalTests StageGoalTests(Game& g);

}  // namespace kav
