#include "game/key_wait.h"

#include "game/devices.h"
#include "game/shutdown.h"
#include "game/system_menu.h"

namespace kav {

bool FullScreenKeyPressed(Game& g) {
  const bool down = g.platform.input.KeyDown(kVkF4);
  const bool pressed = down && !g.f4WasDown;
  g.f4WasDown = down;
  return pressed;
}

void ToggleFullScreenAndSave(Game& g) {
  ToggleFullScreen(g);
  SaveRecords(g, g.trace);
}

namespace {

// One polling pass of a key wait: Space, Enter or the first button end it, the count runs
// down, Escape ends the game and F4 switches the screen. Gives the button code.
int32_t PollWaitKeys(Game& g, int32_t& ticks) {
  Platform& p = g.platform;
  double x = 0;
  double y = 0;
  int32_t button = 0;
  PollJoystick(g, x, y, button);
  if (p.input.KeyDown(kVkSpace) || p.input.KeyDown(kVkReturn) || button == 1) ticks = 0;
  if (ticks > 0) --ticks;
  if (p.input.KeyDown(kVkEscape)) ShutdownGame(g);
  if (FullScreenKeyPressed(g)) ToggleFullScreenAndSave(g);
  return button;
}

}  // namespace

void WaitKey(Game& g, int32_t& ticks) {
  g.trace.Emit("wait", [&](TraceEvent& e) { e.Add("kind", "WaitKey").Add("ticks", ticks); });
  Platform& p = g.platform;
  p.clock.Sleep(30);
  while (ticks != 0) {
    PollWaitKeys(g, ticks);
    // The wait runs no window events, but closing the window still ends the game.
    if (p.input.ClosePending()) ShutdownGame(g);
    p.clock.Sleep(1);
  }
  p.clock.Sleep(100);
  g.trace.Emit("waited", [](TraceEvent& e) { e.Add("kind", "WaitKey"); });
}

void WaitKeyOrMenu(Game& g, int32_t& ticks) {
  g.trace.Emit("wait", [&](TraceEvent& e) { e.Add("kind", "WaitKeyOrMenu").Add("ticks", ticks); });
  Platform& p = g.platform;
  p.clock.Sleep(30);
  while (ticks != 0) {
    const int32_t button = PollWaitKeys(g, ticks);
    g.screen.DoEvents();
    if ((p.input.KeyDown(kVkM) || button == 2) && g.StageSelectPlay == kFalse) OpenSystemMenu(g);
    p.clock.Sleep(1);
    // A stage chosen in the menu has had its set-up already.
    if (g.StageSelectPlay != kFalse) break;
  }
  g.trace.Emit("waited", [](TraceEvent& e) { e.Add("kind", "WaitKeyOrMenu"); });
}

}  // namespace kav
