#pragma once

#include "game/game.h"

namespace kav {

// The clean scene: picBack copied whole onto picP, then shown.
void RestoreBackdrop(Game& g);

}  // namespace kav
