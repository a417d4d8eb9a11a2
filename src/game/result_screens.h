#pragma once

#include "game/game.h"

namespace kav {

// The end of a stage or a run, typed into the message window; each waits for the player.

// A stage of the normal run cleared: the rating comment, the best time and the time made.
// Its time is already in the best-time table. The window stays up.
void ShowStageClear(Game& g);

// The stage lost: the explosion at the helicopter and the cause by StageOutcome. Ends a select
// play and leaves the helicopter and the ladder hidden. The window stays up.
void ShowFailure(Game& g);

// After the last stage: every stage time and the total, then the total into the table unless
// the stage was played from the menu. Hides the window.
void ShowTotals(Game& g);

// A stage chosen from the menu cleared: its best time and the time made. The window stays up.
void ShowSelectResult(Game& g);

}  // namespace kav
