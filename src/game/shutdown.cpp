#include "game/shutdown.h"

#include "game/devices.h"

namespace kav {

void ToggleFullScreen(Game& g) {
  ToggleFullScreen(g.platform.display, g.screen, g.FullScreenOn, g.SavedWindowRect);
  g.trace.Emit("fullscreen", [&](TraceEvent& e) { e.Add("on", g.FullScreenOn == 1); });
}

void ShutdownGame(Game& g) {
  ReleaseInputDevices(Inputs(g));
  // Runs whatever the sound switch says; with it off both calls do nothing.
  for (int32_t slot = 0; slot <= kLastSound; ++slot) {
    PlaySoundSlot(g, slot, kFalse, kFalse);
    PanSoundSlot(g, slot, 0);
  }
  g.trace.Emit("exit", [](TraceEvent& e) { e.Add("status", 0); });
  ShutdownGame(g.platform.display, g);
}

}  // namespace kav
