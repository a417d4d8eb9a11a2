#pragma once

#include "game/game.h"

namespace kav {

// The way into the system menu from a briefing (M, the pad's second button, the menu
// button): the menu until it is done, then the set-up of a stage chosen there.
void OpenSystemMenu(Game& g);

}  // namespace kav
