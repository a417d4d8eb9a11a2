#pragma once

#include "stages/stage_host.h"

namespace kav {

// The rescue boat rises from below the screen after the briefing; in stage 7 it carries the
// helicopter up with it, in stage 5 it comes alone, elsewhere it only waits below the screen.
// Leaves the helicopter at rest. Reports a "sequence" event named boat-rise.
void BoatRiseSequence(StageHost& host);

// Stage 6: the boat sinks with the landed helicopter, crosses to the right-hand landing place
// out of sight and rises there. Its duration is taken out of the stage time. Leaves the
// helicopter at rest for the lift-off that follows. Reports a "sequence" event named ferry.
void FerrySequence(StageHost& host);

// After the last stage: boat and helicopter sink away to the boat's sound, then the finale
// picture glides across the screen. Reports a "sequence" event named finale.
void FinaleSequence(StageHost& host);

}  // namespace kav
