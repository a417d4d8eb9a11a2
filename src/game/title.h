#pragma once

#include "game/game.h"

namespace kav {

// The title: the cover fades to dark, the logo shows with the explosion, the input devices
// open, and the cover fades back before it is put away.
void ShowTitle(Game& g);

}  // namespace kav
