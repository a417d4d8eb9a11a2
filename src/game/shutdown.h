#pragma once

#include "game/game.h"

namespace kav {

void ToggleFullScreen(Game& g);
[[noreturn]] void ShutdownGame(Game& g);

}  // namespace kav
