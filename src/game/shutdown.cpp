#include "game/shutdown.h"

namespace kav {

void ToggleFullScreen(Game& g) {
  ToggleFullScreen(g.platform, g.screen, g.FullScreenOn, g.SavedWindowRect);
  g.trace.Emit("fullscreen", [&](TraceEvent& e) { e.Add("on", g.FullScreenOn == 1); });
}

void ShutdownGame(Game& g) {
  g.trace.Emit("exit", [](TraceEvent& e) { e.Add("status", 0); });
  ShutdownGame(g.platform, g);
}

}  // namespace kav
