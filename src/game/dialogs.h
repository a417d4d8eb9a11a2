#pragma once

#include <string>

#include "game/game.h"

namespace kav {

// The game's one dialog, asked from anywhere in the game (see ui/dialog.h for the arguments).
std::string ShowDialog(Game& g, const std::string& text, std::string& caption, const std::string& buttons,
                       const std::string& icon);

}  // namespace kav
