#pragma once

#include <cstdint>
#include <string>

#include "stages/stage_host.h"

namespace kav {

// A picP pixel in the colour-key form the game compares: the upper-case hexadecimal text,
// without leading zeros, of its window-system colour value.
std::string ColourKey(uint32_t pixel);

// What the helicopter touched this frame: 0, or the outcome code 2..6. A soft touch-down on a
// pad or a boat makes it rest; the pad in the top-right corner resupplies the magazine, and
// the boat in stage 6 runs the ferry. Reports a "contact" event for a non-zero code.
uint8_t CheckHeliContacts(StageHost& host);

// Stage 7's missile: level at height 90, then homing on the helicopter, 4 pixels a frame to
// the left, bursting on the first crash-coloured pixel under it. Nothing outside stage 7 or
// while the missile is hidden.
void MissileStep(StageHost& host);

}  // namespace kav
