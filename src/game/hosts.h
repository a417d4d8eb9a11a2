#pragma once

#include "game/game.h"
#include "gfx/message_window.h"
#include "stages/stage_host.h"

namespace kav {

// The views of the game that the stage routines and the message window work through.
StageHost Stages(Game& g);
MessageHost Messages(Game& g);

}  // namespace kav
