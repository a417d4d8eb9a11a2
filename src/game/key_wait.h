#pragma once

#include <cstdint>

#include "game/game.h"

namespace kav {

// The plain key wait: up to ticks polling passes (negative: no limit) for Space or Enter.
// Escape ends the game; F4 toggles full screen and saves the settings. Counts the caller's
// variable down.
void WaitKey(Game& g, int32_t& ticks);

// The briefing's wait: as WaitKey, but window events run on every pass, M or the pad's second
// button opens the system menu, and it ends at once when a stage was chosen there. No
// closing pause.
void WaitKeyOrMenu(Game& g, int32_t& ticks);

// True once per press of F4: when it goes down, not on every pass while it is held.
bool FullScreenKeyPressed(Game& g);

// F4 as every polling loop handles it: toggle full screen, then remember the mode.
void ToggleFullScreenAndSave(Game& g);

}  // namespace kav
