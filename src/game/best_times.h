#pragma once

#include <cstdint>

#include "game/game.h"

namespace kav {

// A time of the current stage (or, isTotal True, the run's total) into the best-time table,
// dated today; the table is saved either way.
bool InsertBestTime(Game& g, int32_t timeMs, int16_t isTotal);

}  // namespace kav
