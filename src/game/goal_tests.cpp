#include "game/goal_tests.h"

#include <cmath>

#include "game/backdrop.h"
#include "game/best_times.h"
#include "game/devices.h"
#include "game/hosts.h"
#include "game/result_screens.h"
#include "game/stage_setup.h"
#include "gfx/digits.h"
#include "stages/sequences.h"

namespace kav {
namespace {

constexpr int32_t kFullMagazine = 15;
constexpr int32_t kLastStage = 8;

void HideAndPark(Game& g, Control& c) {
  c.Visible = false;
  c.Move(0, kParkTop);
  g.screen.DoEvents();
}

// The bullet's centre row; halves kept.
double ShotCentre(Game& g) {
  return g.ShotY + g.Heli.Pic(kBulletPic).Height() / 2.0;
}

void ReportClear(Game& g) {
  g.trace.Emit("clear", [&](TraceEvent& e) {
    e.Add("stage", g.CurrentStage)
        .Add("time", g.StageTimes[static_cast<size_t>(StageIndex(g))])
        .Add("select", g.StageSelectPlay != kFalse);
  });
}

// The end shared by the goal tests: a clean scene, then the select result and a new run, or
// the clear screen and the next stage. A landing on the last stage ends with the finale and the
// totals; after any other landing the helicopter climbs away from the next stage's start.
int16_t ClearEnding(Game& g, bool landing) {
  RestoreBackdrop(g);
  if (g.StageSelectPlay != kFalse) {
    ShowSelectResult(g);
    g.StageSelectPlay = kFalse;
    g.CurrentStage = 1;
    return kTrue;
  }
  g.TotalTime = g.TotalTime + g.StageTimes[static_cast<size_t>(StageIndex(g))];
  if (landing && g.CurrentStage == kLastStage) {
    StageHost host = Stages(g);
    FinaleSequence(host);
    ShowStageClear(g);
    g.screen[Pic::Picture4].Visible = false;
    g.screen.DoEvents();
    ShowTotals(g);
    return kTrue;
  }
  ShowStageClear(g);
  g.CurrentStage = g.CurrentStage + 1;
  int16_t restart = kFalse;
  SetUpStage(g, restart);
  if (landing) {
    StageHost host = Stages(g);
    AutoClimb(host, 15);
  }
  return kFalse;
}

void StopHitSounds(Game& g) {
  PlaySoundSlot(g, kExplosionSound, kFalse, kFalse);
  PlaySoundSlot(g, kSuccessSound, kFalse, kFalse);
}

}  // namespace

int16_t CheckTargetHit(Game& g) {
  const double c = ShotCentre(g);
  if (!(g.GoalTop <= c && c < g.GoalBottom)) return kFalse;
  InsertBestTime(g, g.StageTimes[static_cast<size_t>(StageIndex(g))], kFalse);
  ReportClear(g);
  Control& culprit = g.Heli.Pic(kCulpritPic);
  PanSoundSlot(g, kExplosionSound, culprit.Left);
  HideAndPark(g, culprit);
  PlaySoundSlot(g, kExplosionSound, kTrue, kFalse);
  g.platform.clock.Sleep(300);
  PlaySoundSlot(g, kSuccessSound, kTrue, kFalse);
  g.platform.clock.Sleep(1000);
  const int16_t r = ClearEnding(g, false);
  StopHitSounds(g);
  return r;
}

int16_t CheckClimbingTargetHit(Game& g) {
  StopHitSounds(g);
  bool cleared = false;
  const double c = ShotCentre(g);
  if (g.GoalTop <= c && c <= g.GoalBottom) {
    Control& culprit = g.Heli.Pic(kCulpritPic);
    PanSoundSlot(g, kExplosionSound, culprit.Left);
    PlaySoundSlot(g, kExplosionSound, kTrue, kFalse);
    if (g.GoalLeft == 720 && g.GoalRight < g.Heli.X) cleared = true;
    culprit.Visible = false;
    // Each hit sends the culprit further down the building, to its last window.
    if (culprit.Top == 290) {
      g.GoalTop = 362;
      g.GoalBottom = 377;
    }
    if (culprit.Top == 362) {
      g.GoalTop = 365;
      g.GoalBottom = 380;
      g.GoalLeft = 720;
    }
    culprit.Move(g.GoalLeft + 10, g.GoalTop);
    culprit.Visible = true;
    g.screen.DoEvents();
  }
  if (!cleared) return kFalse;
  InsertBestTime(g, g.StageTimes[static_cast<size_t>(StageIndex(g))], kFalse);
  ReportClear(g);
  PlaySoundSlot(g, kSuccessSound, kTrue, kFalse);
  g.platform.clock.Sleep(1000);
  HideAndPark(g, g.Heli.Pic(kCulpritPic));
  const int16_t r = ClearEnding(g, false);
  StopHitSounds(g);
  return r;
}

int16_t CheckGunnerHit(Game& g) {
  StopHitSounds(g);
  bool cleared = false;
  const double c = ShotCentre(g);
  if (g.GoalTop <= c && c < g.GoalBottom) {
    if (g.EnemyHitsLeft < 1) cleared = true;
    g.EnemyHitsLeft = g.EnemyHitsLeft - 1;
    PanSoundSlot(g, kExplosionSound, g.screen[Pic::TekiMen].Left);
    PlaySoundSlot(g, kExplosionSound, kTrue, kFalse);
  }
  if (!cleared) return kFalse;
  PlaySoundSlot(g, kSuccessSound, kTrue, kFalse);
  InsertBestTime(g, g.StageTimes[static_cast<size_t>(StageIndex(g))], kFalse);
  ReportClear(g);
  g.platform.clock.Sleep(1000);
  const int16_t r = ClearEnding(g, false);
  StopHitSounds(g);
  return r;
}

int16_t CheckLanding(Game& g) {
  int16_t r = kFalse;
  g.Landed = kFalse;
  const int32_t bottom = g.Heli.Y + g.Heli.Height;
  const double middle = g.Heli.X + g.Heli.Width / 2.0;
  const bool whole = middle == std::floor(middle);
  if (g.GoalTop - 2 <= bottom && bottom <= g.GoalTop + 1 && whole && g.GoalLeft <= middle && middle <= g.GoalRight) {
    if (g.HeliVX <= -1.5 || g.HeliVY >= 2.5 || g.HeliVX >= 1.5) {
      g.StageOutcome = kOutcomeHardLanding;
      PlaySoundSlot(g, kSuccessSound, kFalse, kFalse);
      PlaySoundSlot(g, kLandingSound, kFalse, kFalse);
      return kFalse;
    }
    if (g.CurrentStage == 4) {
      // The hostage's roof takes only the gentlest touch; a firmer one is simply no landing.
      if (-1 < g.HeliVX && g.HeliVX < 1 && -1 < g.HeliVY && g.HeliVY < 1) g.Landed = kTrue;
    } else {
      g.Landed = kTrue;
    }
  }
  if (g.Landed != kFalse) {
    PanSoundSlot(g, kLandingSound, g.Heli.X);
    PlaySoundSlot(g, kLandingSound, kTrue, kFalse);
    PlaySoundSlot(g, kSuccessSound, kTrue, kFalse);
    InsertBestTime(g, g.StageTimes[static_cast<size_t>(StageIndex(g))], kFalse);
    ReportClear(g);
    if (g.CurrentStage == 3 && g.MagazineCount < kFullMagazine) {
      // The headquarters refills the magazine cartridge by cartridge.
      for (int32_t n = g.MagazineCount; n <= kFullMagazine; ++n) {
        DrawDigits(g.screen, Pic::Picture2, "M=" + std::to_string(n), g.trace);
        PlaySoundSlot(g, kTickSound, kTrue, kFalse);
        g.platform.clock.Sleep(100);
      }
      g.MagazineCount = kFullMagazine;
      PlaySoundSlot(g, kTickSound, kFalse, kFalse);
    }
    g.Landed = kFalse;
    r = ClearEnding(g, true);
  }
  PlaySoundSlot(g, kSuccessSound, kFalse, kFalse);
  PlaySoundSlot(g, kLandingSound, kFalse, kFalse);
  return r;
}

GoalTests StageGoalTests(Game& g) {
  return GoalTests{[&g] { return CheckLanding(g); }, [&g] { return CheckTargetHit(g); },
                   [&g] { return CheckClimbingTargetHit(g); }, [&g] { return CheckGunnerHit(g); }};
}

}  // namespace kav
