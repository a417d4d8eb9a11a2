#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "game/game.h"

namespace kav {

// Prepares CurrentStage: its goals and figures, its briefing with the best time, the wait
// for the player, the opening sequence, the engine and the clock. menuRestart True: the
// set-up of a stage chosen in the menu during a briefing, which skips the opening sequence.
void SetUpStage(Game& g, int16_t& menuRestart);

// The eleven briefing lines of a stage as the set-up builds them (line 10 left for the prompt).
std::array<std::string, 11> BriefingLines(const Game& g, int32_t stage);

}  // namespace kav
