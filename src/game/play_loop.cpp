#include "game/play_loop.h"

#include <cmath>
#include <cstdio>

#include "base/ticks.h"
#include "game/devices.h"
#include "game/dialogs.h"
#include "game/goal_tests.h"
#include "game/hosts.h"
#include "game/key_wait.h"
#include "game/result_screens.h"
#include "game/shutdown.h"
#include "game/stage_setup.h"
#include "gfx/digits.h"
#include "stages/collisions.h"
#include "stages/flight.h"

namespace kav {
namespace {

constexpr int32_t kTimeLimitMs = 150000;
constexpr int32_t kClockEvery = 3;
constexpr double kStickX = 2;
constexpr double kStickRight = 2.5;
constexpr double kStickY = 3.5;

// Seconds with two decimals, at least "0.00", right-aligned in six characters.
std::string ClockField(int32_t ms) {
  const int64_t magnitude = std::llabs(static_cast<int64_t>(ms));
  const int64_t cents = (magnitude + 5) / 10;
  char text[32];
  std::snprintf(text, sizeof text, "%s%lld.%02lld", ms < 0 && cents != 0 ? "-" : "",
                static_cast<long long>(cents / 100), static_cast<long long>(cents % 100));
  std::string s = std::string("     ") + text;
  return s.substr(s.size() - 6);
}

void ReportFrame(Game& g) {
  g.trace.Emit("frame", [&](TraceEvent& e) {
    e.Add("n", g.framesPlayed)
        .Add("stage", g.CurrentStage)
        .Add("x", g.Heli.X)
        .Add("y", g.Heli.Y)
        .Add("vx", g.HeliVX)
        .Add("vy", g.HeliVY)
        .Add("controls", static_cast<int32_t>(g.Controls))
        .Add("onpad", g.OnPad != kFalse)
        .Add("mag", g.MagazineCount)
        .Add("loaded", g.Loaded != kFalse)
        .Add("fireready", g.FireReady != kFalse)
        .Add("outcome", static_cast<int32_t>(g.StageOutcome))
        .Add("time", g.StageTimes[StageIndex(g)])
        .Add("total", g.TotalTime)
        .Add("missilex", g.MissileX)
        .Add("shottravel", g.ShotTravel);
  });
}

}  // namespace

void UpdateStageClock(Game& g) {
  if (g.ClockRunning == kFalse) return;
  int32_t& time = g.StageTimes[StageIndex(g)];
  // Wrap-safe: the tick count may pass 2^31 in the middle of a stage.
  time = TickDiff(g.platform.clock.Ticks(), g.StageStartTick);
  g.ClockFrameCount = g.ClockFrameCount + 1;
  if (g.ClockFrameCount < kClockEvery) return;
  g.ClockFrameCount = 0;
  if (time > kTimeLimitMs) {
    time = 0;
    g.StageOutcome = kOutcomeTimeOver;
  }
  DrawDigits(g.screen, Pic::picTim, ClockText(g), g.trace);
}

namespace {

// Sleeps to the frame's deadline; more than a frame behind (a clear screen ran inside the
// frame), it starts counting again from now instead of racing to catch up.
void WaitForNextFrame(Game& g) {
  const int32_t now = g.platform.clock.Ticks();
  const int32_t ahead = TickDiff(g.frameDeadline, now);
  if (ahead > 0) {
    g.platform.clock.Sleep(ahead);
  } else if (ahead < -kFramePeriodMs) {
    g.frameDeadline = now;
  }
  g.frameDeadline = TickAdd(g.frameDeadline, kFramePeriodMs);
}

// Plays frames until a stage fails (false) or a goal test asks for a new run (true).
bool PlayFrames(Game& g) {
  g.frameDeadline = TickAdd(g.platform.clock.Ticks(), kFramePeriodMs);
  const GoalTests tests = StageGoalTests(g);
  for (;;) {
    StageHost host = Stages(g);
    AttenuateSoundSlot(g, kEngineSound, g.Heli.Y);
    UpdateStageClock(g);
    g.Controls = ReadControls(g);
    RestOnPad(host);
    FlyFrame(host);
    if (g.CurrentStage == 7 && g.screen[Pic::TekiTama].Visible) MissileStep(host);
    // With no bullet in flight the step is the landing test, whose hard landing ends the frame.
    const bool flying = BulletInFlight(host);
    if (BulletStep(host, tests) != kFalse) return true;
    if (!flying && g.StageOutcome != kOutcomeNone) return false;
    if (g.OnPad == kFalse) {
      if (CheckHeliContacts(host) != 0) g.StageOutcome = CheckHeliContacts(host);
    }
    if (g.StageOutcome != kOutcomeNone) return false;
    ApplyGravity(host);
    g.framesPlayed = g.framesPlayed + 1;
    ReportFrame(g);
    WaitForNextFrame(g);
  }
}

void CopyBackdrop(Game& g) {
  Blit(g.screen[Pic::picP].Image, 0, 0, kScreenWidth, kScreenHeight, g.screen[Pic::picBack].Image, 0, 0);
}

}  // namespace

std::string ClockText(const Game& g) {
  const int32_t time = g.StageTimes[StageIndex(g)];
  if (g.StageSelectPlay != kFalse) return ClockField(time);
  return ClockField(time) + "/" + ClockField(g.TotalTime + time);
}

void ResetRun(Game& g) {
  g.PrevControls = 0;
  g.HeliVX = 0;
  g.HeliVY = 0;
  g.CurrentStage = 1;
  g.TotalTime = 0;
  g.EnemyHitsLeft = 3;
  g.StageOutcome = kOutcomeNone;
  g.MagazineCount = 15;
  g.StageStartTick = 0;
  g.ClockFrameCount = 0;
  for (size_t s = 1; s < g.StageTimes.size(); ++s) g.StageTimes[s] = 0;

  // The colour keys come from the scene as it is drawn now.
  const Surface& picP = g.screen[Pic::picP].Image;
  g.CrashColours[0] = ColourKey(picP.Pixel(400, 300));
  g.CrashColours[1] = ColourKey(picP.Pixel(600, 200));
  g.PadColour = ColourKey(picP.Pixel(600, 110));

  g.Heli.Frame = 0;
  g.OnPad = kFalse;
  g.Heli.X = 50;
  g.Heli.Y = 50;
  Control& body = *g.Heli.Pics[static_cast<size_t>(g.Heli.FirstPic)];
  body.Move(50, 50);
  body.Visible = true;
  for (int32_t j = g.Heli.FirstPic + 1; j <= g.Heli.LastPic; ++j) {
    Control& sprite = *g.Heli.Pics[static_cast<size_t>(j)];
    sprite.Visible = false;
    sprite.Move(0, kParkTop);
  }
  Control& window = g.screen[Pic::Picture4];
  window.Move(0, kParkTop);
  window.Visible = false;
  Control& total = g.screen[Pic::picTotal];
  total.Clear();
  total.Visible = true;
  g.trace.Emit("run");
}

uint8_t ReadControls(Game& g) {
  double x = 0;
  double y = 0;
  int32_t button = 0;
  PollJoystick(g, x, y, button);
  uint8_t c = 0;
  if (std::fabs(x) > kStickX) c = x >= kStickRight ? CtlRight : CtlLeft;
  if (std::fabs(y) > kStickY) c |= y >= 0 ? CtlClimb : CtlDive;
  Platform& p = g.platform;
  if (p.input.KeyDown(kVkLeft)) c |= CtlLeft;
  if (p.input.KeyDown(kVkRight)) c |= CtlRight;
  const bool up = p.input.KeyDown(kVkUp);
  const bool down = p.input.KeyDown(kVkDown);
  if (up && !down) c |= CtlDive;
  if (down && !up) c |= CtlClimb;
  if (p.input.KeyDown(kVkSpace) || button == 1) c |= CtlFire;
  if (p.input.KeyDown(kVkEscape)) ShutdownGame(g);
  if (p.input.ClosePending()) ShutdownGame(g);
  if (FullScreenKeyPressed(g)) ToggleFullScreenAndSave(g);
  return c;
}

void PlayRuns(Game& g) {
  for (;;) {
    g.screen.Refresh();
    ResetRun(g);
    int16_t restart = kFalse;
    SetUpStage(g, restart);
    DrawDigits(g.screen, Pic::Picture2, "M=" + std::to_string(g.MagazineCount), g.trace);
    g.ShotTravel = 0;
    g.MissileX = 720;
    // Keeps the pointer off the play area.
    g.platform.input.WarpMouse(kScreenWidth, kScreenHeight);
    if (PlayFrames(g)) continue;

    g.ClockRunning = kFalse;
    if (g.StageOutcome != kOutcomeNone) {
      const auto code = static_cast<int32_t>(g.StageOutcome);
      g.trace.Emit("outcome", [&](TraceEvent& e) { e.Add("code", code); });
      ShowFailure(g);
    }
    std::string caption;
    if (ShowDialog(g, g.texts("　もう一度　？"), caption, "YN", "?") != "1") ShutdownGame(g);
    CopyBackdrop(g);
  }
}

}  // namespace kav
