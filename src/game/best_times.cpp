#include "game/best_times.h"

namespace kav {

bool InsertBestTime(Game& g, int32_t timeMs, int16_t isTotal) {
  return InsertBestTime(g, g.CurrentStage, timeMs, isTotal, Today(g), g.trace);
}

}  // namespace kav
