#include "stages/flight.h"

#include <cmath>
#include <limits>
#include <string>

#include "gfx/digits.h"

namespace kav {
namespace {

constexpr double kSideStep = 0.4 / 6;
constexpr double kClimbStep = 0.2;
constexpr double kDiveStep = 0.4;
constexpr double kDriftX = 0.00005;
constexpr double kDriftY = 0.00004;
constexpr double kGravity = 0.1;
constexpr int32_t kRearmFrames = 70;
constexpr int32_t kShotStep = 4;
constexpr int32_t kBuildingFace = 560;
// Shots starting above this row pass over the building face.
constexpr int32_t kLowShotRow = 101;
constexpr int32_t kBurstMs = 50;

// The runtime's conversion of a double to a whole number: halves go to the even neighbour.
// Only a speed set from outside can leave the 32-bit range; it is held at the range's end so
// that the clamps that follow put the helicopter on the edge.
int32_t ToLong(double v) {
  const double r = std::nearbyint(v);
  if (!(r > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (r > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(r);
}

// The element that Frame names, its index rounded like the runtime's; a Frame outside the ten
// elements names none, and the body stands in for it.
Control& FramePic(StageHost& host) {
  const double i = std::nearbyint(host.gfx.Heli.Frame);
  return host.gfx.Heli.Pic(i >= 0 && i < static_cast<double>(host.gfx.Heli.Pics.size()) ? static_cast<int>(i) : 0);
}

void Fire(StageHost& host) {
  RunState& run = host.run;
  HeliRecord& heli = host.gfx.Heli;
  // The last cartridge still fires with its sound and effect, but empties the rifle.
  if (run.MagazineCount < 1) {
    run.Loaded = kFalse;
  } else {
    run.MagazineCount = run.MagazineCount - 1;
  }
  StartForceEffect(host.input, kDieselEngineIdleEffect);
  DrawDigits(host.screen, Pic::Picture2, "M=" + std::to_string(run.MagazineCount), host.trace);
  PlaySoundSlot(host.sound, kRifleSound, kFalse, kFalse);
  PanSoundSlot(host.sound, kRifleSound, host.gfx.Heli.Pic(kHeliPic).Left);
  PlaySoundSlot(host.sound, kRifleSound, kTrue, kFalse);
  run.ShotX = heli.X + heli.Width;
  run.ShotY = heli.Y + 10;
  host.gfx.Heli.Pic(kBulletPic).Visible = true;
  // The gunner answers every shot with a missile.
  if (run.CurrentStage == 7) {
    Control& missile = host.screen[Pic::TekiTama];
    missile.Top = 138;
    missile.Left = 720;
    missile.Visible = true;
  }
  run.FireReady = kFalse;
  host.trace.Emit("shot",
                  [&](TraceEvent& e) { e.Add("x", run.ShotX).Add("y", run.ShotY).Add("mag", run.MagazineCount); });
}

void Steer(RunState& run, uint8_t d) {
  switch (d) {
    case CtlLeft:
      run.HeliVX = run.HeliVX - kSideStep;
      break;
    case CtlRight:
      run.HeliVX = run.HeliVX + kSideStep;
      break;
    case CtlClimb:
      run.HeliVY = run.HeliVY - kClimbStep;
      break;
    case CtlDive:
      run.HeliVY = run.HeliVY + kDiveStep;
      break;
    case CtlLeft | CtlClimb:
      run.HeliVX = run.HeliVX - kSideStep;
      run.HeliVY = run.HeliVY - kClimbStep;
      break;
    case CtlRight | CtlClimb:
      run.HeliVX = run.HeliVX + kSideStep;
      run.HeliVY = run.HeliVY - kClimbStep;
      break;
    case CtlLeft | CtlDive:
      run.HeliVX = run.HeliVX - kSideStep;
      run.HeliVY = run.HeliVY + kDiveStep;
      break;
    case CtlRight | CtlDive:
      run.HeliVX = run.HeliVX + kSideStep;
      run.HeliVY = run.HeliVY + kDiveStep;
      break;
    default:
      break;
  }
}

// Both burst frames at one place, 50 ms apart.
void ShowBurst(StageHost& host, int32_t x, int32_t y) {
  Control& small = host.gfx.Heli.Pic(kSmallBurstPic);
  small.Move(x, y);
  small.Visible = true;
  StagePause(host, kBurstMs);
  Control& large = host.gfx.Heli.Pic(kLargeBurstPic);
  large.Move(x, y);
  large.Visible = true;
}

void PutBurstAway(StageHost& host) {
  HideAndPark(host.gfx.Heli.Pic(kSmallBurstPic));
  HideAndPark(host.gfx.Heli.Pic(kLargeBurstPic));
}

int16_t Run(const std::function<int16_t()>& test) {
  return test ? test() : kFalse;
}

}  // namespace

void StagePause(StageHost& host, int32_t ms) {
  host.screen.DoEvents();
  host.platform.clock.Sleep(ms);
}

void HideAndPark(Control& sprite) {
  sprite.Visible = false;
  sprite.Park();
}

void FlyStep(StageHost& host, uint8_t controls) {
  RunState& run = host.run;
  HeliRecord& heli = host.gfx.Heli;
  const uint8_t c = controls;

  // The fire bit must be held in two successive steps.
  if ((c & CtlFire) == CtlFire && run.FireReady == kTrue && run.Loaded == kTrue &&
      (run.PrevControls & CtlFire) == CtlFire) {
    Fire(host);
  }

  // A new byte only records itself; the same byte again steers.
  if (c == run.PrevControls) Steer(run, static_cast<uint8_t>(c & 254));

  if (run.HeliVX > 0) run.HeliVX = run.HeliVX + kDriftX;
  if (run.HeliVX < 0) run.HeliVX = run.HeliVX - kDriftX;
  if (run.HeliVY > 0) run.HeliVY = run.HeliVY + kDriftY;
  if (run.HeliVY < 0) run.HeliVY = run.HeliVY - kDriftY;

  heli.X = ToLong(heli.X + run.HeliVX);
  heli.Y = ToLong(heli.Y + run.HeliVY);

  // Past 5 the horizontal speed falls back to 3: held Right is a saw-tooth, not a limit.
  if (run.HeliVX > 5) run.HeliVX = 3;
  if (run.HeliVY > 5) run.HeliVY = 5;
  if (run.HeliVX < -5) run.HeliVX = -3;
  if (run.HeliVY < -5) run.HeliVY = -5;

  // The helicopter may climb 200 pixels out of sight above the top edge.
  if (heli.X < 0) heli.X = 0;
  if (heli.X > kScreenWidth - heli.Width) heli.X = kScreenWidth - heli.Width;
  if (heli.Y < -200) heli.Y = -200;
  if (heli.Y > kScreenHeight - heli.Height) heli.Y = kScreenHeight - heli.Height;

  run.PrevControls = c;
}

void AutoClimb(StageHost& host, int32_t frames) {
  HeliRecord& heli = host.gfx.Heli;
  for (int32_t i = 1; i <= frames; ++i) {
    FlyStep(host, CtlClimb);
    FramePic(host).Move(heli.X, heli.Y);
    host.screen.DoEvents();
  }
}

void RestOnPad(StageHost& host) {
  RunState& run = host.run;
  if (run.OnPad != kTrue) return;
  run.HeliVX = 0;
  run.HeliVY = 0;
  run.FireReady = kFalse;
  // Down alone lifts off; Down with anything else keeps resting.
  if (run.Controls == CtlClimb) {
    run.OnPad = kFalse;
    AutoClimb(host, 15);
    run.FireReady = kTrue;
  }
}

void FlyFrame(StageHost& host) {
  RunState& run = host.run;
  HeliRecord& heli = host.gfx.Heli;
  if (run.OnPad != kFalse) return;
  FlyStep(host, run.Controls);
  host.gfx.Heli.Pic(kHeliPic).Move(heli.X, heli.Y);
  PanSoundSlot(host.sound, kEngineSound, heli.X);
  // The rope ladder hangs from the helicopter while the hostage is out.
  if (host.gfx.Heli.Pic(kHostagePic).Visible) {
    host.gfx.Heli.Pic(kLadderPic).Move(ToLong(heli.X + heli.Width / 2.0), heli.Y + heli.Height);
  }
  host.screen.DoEvents();
}

bool BulletInFlight(const StageHost& host) {
  const Control* bullet = host.gfx.Heli.Pics[kBulletPic];
  return bullet->Visible && host.run.Loaded == kTrue;
}

int16_t BulletStep(StageHost& host, const GoalTests& tests) {
  RunState& run = host.run;
  run.RearmCounter = run.RearmCounter + 1;

  if (!BulletInFlight(host)) {
    if (run.RearmCounter > kRearmFrames) {
      run.FireReady = kTrue;
      run.RearmCounter = 0;
    }
    return Run(tests.CheckLanding);
  }

  Control& bullet = host.gfx.Heli.Pic(kBulletPic);
  if (bullet.Left >= kScreenWidth) {
    HideAndPark(bullet);
    run.ShotTravel = 0;
    // Off the right edge the rifle is ready again at once, unless the helicopter is far right.
    if (host.gfx.Heli.Pic(kHeliPic).Left < 600) run.FireReady = kTrue;
  } else {
    bullet.Move(run.ShotX + run.ShotTravel, run.ShotY);
  }
  run.ShotTravel = run.ShotTravel + kShotStep;

  if (run.ShotY < kLowShotRow) {
    // Only the stage-7 gunner on the roof stands in the way of a high shot.
    if (run.CurrentStage == 7 && run.ShotY + bullet.Height() / 2.0 > run.GoalTop &&
        bullet.Left + bullet.Width() >= run.GoalLeft) {
      HideAndPark(bullet);
      const int32_t x = run.ShotX + run.ShotTravel;
      const int32_t y = run.ShotY;
      host.trace.Emit("strike", [&](TraceEvent& e) { e.Add("x", x).Add("y", y).Add("high", true); });
      ShowBurst(host, x, y);
      run.ShotTravel = 0;
      run.FireReady = kTrue;
      const int16_t restart = Run(tests.CheckGunnerHit);
      PutBurstAway(host);
      return restart;
    }
    return kFalse;
  }

  if (bullet.Left >= kBuildingFace) {
    HideAndPark(bullet);
    const int32_t x = run.ShotX + run.ShotTravel - 1;
    const int32_t y = run.ShotY - 16;
    host.trace.Emit("strike", [&](TraceEvent& e) { e.Add("x", x).Add("y", y).Add("high", false); });
    ShowBurst(host, x, y);
    run.ShotTravel = 0;
    // The re-arm counter readies the rifle again later.
    int16_t restart = kFalse;
    if (run.CurrentStage == 2) {
      restart = Run(tests.CheckTargetHit);
    } else if (run.CurrentStage != 7) {
      restart = Run(tests.CheckClimbingTargetHit);
    }
    PutBurstAway(host);
    return restart;
  }
  return kFalse;
}

void ApplyGravity(StageHost& host) {
  RunState& run = host.run;
  if (run.StageOutcome != kOutcomeNone) return;
  run.HeliVY = run.HeliVY + kGravity;
}

}  // namespace kav
