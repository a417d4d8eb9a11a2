#pragma once

#include "game/game.h"

namespace kav {

// The message window in the middle of picP, to the nearest pixel with halves to even: the
// 625 x 376 window stands at (88, 112).
void CentreMessageWindow(Game& g);

}  // namespace kav
