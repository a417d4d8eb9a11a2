#include "game/shutdown.h"

namespace kav {

void ToggleFullScreen(Game& g) {
  ToggleFullScreen(g.platform, g.screen, g.FullScreenOn, g.SavedWindowRect);
}

void ShutdownGame(Game& g) {
  ShutdownGame(g.platform, g);
}

}  // namespace kav
