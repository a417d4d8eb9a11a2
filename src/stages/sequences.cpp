#include "stages/sequences.h"

#include "base/ticks.h"
#include "devices/sound_rewind.h"
#include "stages/flight.h"

namespace kav {
namespace {

constexpr int32_t kStepMs = 80;
// The boat waits just below the screen at the left dock before it rises.
constexpr int32_t kBoatLeft = 210;
constexpr int32_t kBoatBelowScreen = 714;
// Stage 7 starts with the helicopter seated on the deck, one row above the boat's top.
constexpr int32_t kSeatedX = 227;
constexpr int32_t kSeatedBelowScreen = 713;
// The ferry's crossing to the right-hand landing place.
constexpr int32_t kHarbourX = 658;
constexpr int32_t kHarbourShift = 435;
constexpr int32_t kCrossingMs = 1000;

Control& Boat(StageHost& host) {
  return host.gfx.Heli.Pic(kBoatPic);
}

void Announce(const StageHost& host, const char* name) {
  host.trace.Emit("sequence", [&](TraceEvent& e) { e.Add("name", name); });
}

void AtRest(RunState& run) {
  run.PrevControls = 0;
  run.HeliVX = 0;
  run.HeliVY = 0;
}

// One step of a sink (positive d) or rise (negative d): boat and helicopter move together.
void MoveTogether(StageHost& host, int32_t d) {
  HeliRecord& heli = host.gfx.Heli;
  heli.Y = heli.Y + d;
  Control& boat = Boat(host);
  boat.Top = boat.Top + d;
  host.gfx.Heli.Pic(kHeliPic).Move(heli.X, heli.Y);
  StagePause(host, kStepMs);
}

}  // namespace

void BoatRiseSequence(StageHost& host) {
  Announce(host, "boat-rise");
  RunState& run = host.run;
  HeliRecord& heli = host.gfx.Heli;
  Control& boat = Boat(host);
  StopForceEffect(host.input, kPunchedEffect);
  boat.Move(kBoatLeft, kBoatBelowScreen);
  boat.Visible = true;
  if (run.CurrentStage == 5) {
    for (int32_t k = 20; k >= 0; --k) {
      boat.Top = boat.Top - k;
      StagePause(host, kStepMs);
    }
  }
  if (run.CurrentStage == 7) {
    heli.X = kSeatedX;
    int32_t y = kSeatedBelowScreen;
    for (int32_t k = 20; k >= 0; --k) {
      heli.Y = y - k;
      y = heli.Y;
      boat.Top = boat.Top - k;
      host.gfx.Heli.Pic(kHeliPic).Move(heli.X, heli.Y);
      StagePause(host, kStepMs);
    }
  }
  AtRest(run);
  StartForceEffect(host.input, kPunchedEffect);
}

void FerrySequence(StageHost& host) {
  Announce(host, "ferry");
  RunState& run = host.run;
  HeliRecord& heli = host.gfx.Heli;
  const int32_t t0 = host.platform.clock.Ticks();
  StopForceEffect(host.input, kPunchedEffect);
  for (int32_t d = 0; d <= 20; ++d) MoveTogether(host, d);
  AtRest(run);
  heli.X = kHarbourX;
  Control& boat = Boat(host);
  boat.Left = boat.Left + kHarbourShift;
  StagePause(host, kCrossingMs);
  for (int32_t d = 20; d >= 0; --d) MoveTogether(host, -d);
  StartForceEffect(host.input, kPunchedEffect);
  // The stage clock runs on through the trip; the counter may wrap on the way.
  run.StageStartTick = TickAdd(run.StageStartTick, TickDiff(host.platform.clock.Ticks(), t0));
}

void FinaleSequence(StageHost& host) {
  Announce(host, "finale");
  StopForceEffect(host.input, kPunchedEffect);
  StagePause(host, 600);
  RewindSoundSlot(host.sound, kBoatSound);
  PlaySoundSlot(host.sound, kBoatSound, kTrue, kFalse);
  int32_t i = 0;
  for (; i <= 20; ++i) MoveTogether(host, i);
  PlaySoundSlot(host.sound, kBoatSound, kFalse, kFalse);

  // The glide has no pause: it runs as fast as the machine draws.
  Control& picture = host.screen[AnimePatten(kFinalePic)];
  const Control& stage = host.screen[Pic::picP];
  picture.Visible = true;
  for (int32_t j = 0; j <= 200; ++j) {
    picture.Move(stage.Left + 100 + j, stage.Top + 100 + i);
    host.screen.DoEvents();
    if (j % 3 == 0) i = i + 1;
  }
  picture.Visible = false;
  host.screen.DoEvents();
  StagePause(host, 200);
}

}  // namespace kav
