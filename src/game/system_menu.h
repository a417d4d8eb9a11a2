#pragma once

#include <cstdint>

#include "game/game.h"

namespace kav {

// The menu once, carrying out the item chosen. True when the menu is finished: closed, or a
// stage chosen (CurrentStage and StageSelectPlay then say which); False to show it again.
int16_t ShowSystemMenu(Game& g);

// The way into the system menu from a briefing (M, the pad's second button, the menu
// button): the menu until it is done, then the set-up of a stage chosen there.
void OpenSystemMenu(Game& g);

// The menu button in the briefing window's corner: the menu, with the button's sound.
void Picture1_Click(Game& g);

}  // namespace kav
