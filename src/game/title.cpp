#include "game/title.h"

#include "game/devices.h"
#include "game/play_loop.h"
#include "gfx/palette_fade.h"

namespace kav {
namespace {

constexpr int32_t kFadeLevels = 20;
// The title's 2 ms pauses lasted one tick of the old system timer each; a frame period keeps
// the fade at the pace it was seen, with the logo standing through the fade back.
constexpr int32_t kFadeStepMs = kFramePeriodMs;

void FadeStep(Game& g, Control& cover, int32_t level) {
  DrawFadeLevel(g, g.fadePicture, cover.Image, cover.Width(), cover.Height(), level, g.trace);
  g.screen.Refresh();
  g.platform.clock.Sleep(kFadeStepMs);
}

}  // namespace

void ShowTitle(Game& g) {
  Control& cover = g.screen[Pic::picTitle1];
  Control& logo = g.screen[Pic::picTitle0];
  BuildFadeTable(g, g.fadePicture, cover.Image, cover.Width(), cover.Height(), kFadeLevels);
  // The table's last level is 20: the first step draws nothing and shows the cover as it is.
  for (int32_t level = kFadeLevels + 1; level >= 1; --level) FadeStep(g, cover, level);
  logo.Visible = true;
  g.screen.DoEvents();
  PlaySoundSlot(g, kExplosionSound, kTrue, kFalse);
  InitInputDevices(g);
  for (int32_t level = 1; level <= kFadeLevels + 1; ++level) FadeStep(g, cover, level);

  cover.Visible = false;
  logo.Visible = false;
  MoveControl(cover, -1, -1, 0, 0);
  g.screen.DoEvents();
  cover.Park();
  logo.Park();
  g.screen.DoEvents();
  PlaySoundSlot(g, kExplosionSound, kFalse, kFalse);
}

}  // namespace kav
