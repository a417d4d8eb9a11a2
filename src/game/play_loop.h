#pragma once

#include <cstdint>
#include <string>

#include "game/game.h"

namespace kav {

// One frame every 16 ms: the pace the flight model and the rating limits were tuned for.
constexpr int32_t kFramePeriodMs = 16;

// The run start: speeds, stage 1, times, magazine and the colour keys taken from picP.
void ResetRun(Game& g);

// This frame's control byte from the keys and the pad. Escape ends the game; F4 switches
// the screen mode and saves it.
uint8_t ReadControls(Game& g);

// The stage clock of a frame: read every frame, drawn every third frame, where time over is
// also seen.
void UpdateStageClock(Game& g);

// The clock strip's text: the stage time, and in a normal run "/" and the running total.
std::string ClockText(const Game& g);

// The run loop: runs, each from stage 1, until the player declines to play again.
[[noreturn]] void PlayRuns(Game& g);

}  // namespace kav
