#pragma once

#include "game/game.h"

namespace kav {

// The entry name: asked until it fits in eight characters, then stored upper-case and
// narrow; on a first run the controls notice follows.
void EnterPlayerName(Game& g, bool firstRun);

}  // namespace kav
