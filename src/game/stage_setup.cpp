#include "game/stage_setup.h"

#include "game/backdrop.h"
#include "game/devices.h"
#include "game/hosts.h"
#include "game/key_wait.h"
#include "game/message_screen.h"
#include "gfx/message_window.h"
#include "records/time_text.h"
#include "stages/flight.h"
#include "stages/sequences.h"
#include "stages/stage_table.h"

namespace kav {
namespace {

constexpr int32_t kBriefingDelay = 25;
constexpr int32_t kMarkerBlinks = 4;
constexpr int32_t kBlinkPause = 300;

void Show(Control& c, int32_t left, int32_t top) {
  c.Move(left, top);
  c.Visible = true;
}

// The figures of a stage; the ones not named stay hidden and parked.
void PlaceFigures(Game& g, int32_t stage) {
  Control& culprit = g.Heli.Pic(kCulpritPic);
  Control& marker = g.Heli.Pic(kMarkerPic);
  Control& boat = g.Heli.Pic(kBoatPic);
  switch (stage) {
    case 1:
      marker.Move(310, 222);
      break;
    case 2:
      Show(culprit, 590, g.GoalTop);
      break;
    case 3:
      marker.Move(110, 310);
      break;
    case 4:
      marker.Move(590, 60);
      Show(g.Heli.Pic(kHostagePic), 600, 99);
      g.Heli.Pic(kLadderPic).Visible = true;
      break;
    case 5:
      marker.Move(0, 0);
      break;
    case 6:
      Show(boat, 210, 504);
      Show(culprit, g.GoalLeft + 10, g.GoalTop);
      break;
    case 7:
      Show(g.screen[Pic::TekiMen], 740, 95);
      break;
    case 8:
      Show(boat, 210, 504);
      break;
    default:
      break;
  }
}

// In the stages that land on a marked roof the marker flashes twice, with a tick.
void BlinkMarker(Game& g) {
  const int32_t stage = g.CurrentStage;
  if (stage != 1 && stage != 3 && stage != 4) return;
  Control& marker = g.Heli.Pic(kMarkerPic);
  for (int i = 0; i < kMarkerBlinks; ++i) {
    PlaySoundSlot(g, kTickSound, kFalse, kFalse);
    if (!marker.Visible) {
      marker.Visible = true;
      PlaySoundSlot(g, kTickSound, kTrue, kFalse);
    } else {
      marker.Visible = false;
    }
    g.screen.DoEvents();
    g.platform.clock.Sleep(kBlinkPause);
  }
  PlaySoundSlot(g, kTickSound, kFalse, kFalse);
  marker.Move(0, kParkTop);
  g.screen.DoEvents();
}

}  // namespace

std::array<std::string, 11> BriefingLines(const Game& g, int32_t stage) {
  std::array<std::string, 11> lines;
  if (stage < 1 || stage > kStageCount) return lines;
  const StageInfo& info = StageTable(stage);
  for (size_t i = 0; i < info.briefing.size(); ++i) lines[i] = g.texts(info.briefing[i]);
  if (stage == 3 && g.MagazineCount < kShortOfAmmunitionBelow) lines[1] = g.texts(kShortOfAmmunitionLine);
  const auto best = static_cast<size_t>(BestEntry(stage));
  lines[9] = g.texts(kBestLinePrefix) + TimeText(g.RecordTimes[best]) + " " + g.RecordNames[best];
  return lines;
}

void SetUpStage(Game& g, int16_t& menuRestart) {
  g.trace.Emit("stage", [&](TraceEvent& e) { e.Add("stage", g.CurrentStage).Add("restart", menuRestart != kFalse); });
  Screen& screen = g.screen;

  PlaySoundSlot(g, kEngineSound, kFalse, kFalse);
  g.PrevControls = 0;
  g.HeliVY = 0;
  g.HeliVX = 0;
  for (int32_t i = g.Heli.FirstPic + 1; i <= g.Heli.LastPic; ++i) {
    Control& sprite = g.Heli.Pic(i);
    sprite.Visible = false;
    sprite.Move(0, kParkTop);
  }
  for (Pic id : {Pic::TekiMen, Pic::TekiTama}) {
    screen[id].Visible = false;
    screen[id].Move(0, kParkTop);
  }
  screen.DoEvents();

  const int32_t stage = g.CurrentStage;
  std::array<std::string, 11> lines = BriefingLines(g, stage);
  if (stage >= 1 && stage <= kStageCount) {
    const StageInfo& info = StageTable(stage);
    g.GoalLeft = info.GoalLeft;
    g.GoalRight = info.GoalRight;
    g.GoalTop = info.GoalTop;
    g.GoalBottom = info.GoalBottom;
    g.Loaded = info.Loaded;
    PlaceFigures(g, stage);
  }

  RestoreBackdrop(g);

  CentreMessageWindow(g);
  const Control& window = screen[Pic::Picture4];
  Control& menuButton = screen[Pic::Picture1];
  if (menuRestart != kFalse) {
    menuButton.Visible = false;
    menuButton.Move(0, kParkTop);
  } else {
    Show(menuButton, window.Left + window.Width() - menuButton.Width() - 18,
         window.Top + window.Height() - menuButton.Height() - 8);
  }
  screen.DoEvents();

  PlaySoundSlot(g, kBriefingSound, kTrue, kFalse);
  MessageHost messages = Messages(g);
  int32_t delay = kBriefingDelay;
  TypeMessage(messages, lines, kTrue, delay);

  int32_t forever = -1;
  if (g.StageSelectPlay != kFalse) {
    // A stage chosen in the menu: the outer set-up, whose wait this one is nested in, clears the
    // briefing and blinks the marker once this returns.
    WaitKey(g, forever);
  } else {
    WaitKeyOrMenu(g, forever);
    for (Pic id : {Pic::Picture4, Pic::Picture1}) {
      screen[id].Visible = false;
      screen[id].Move(0, kParkTop);
    }
    screen.DoEvents();
    g.platform.clock.Sleep(kBlinkPause);
    BlinkMarker(g);
  }

  // From here on the stage is the one in CurrentStage now: a stage chosen in the menu during
  // the wait has replaced the one this call began with.
  PlaySoundSlot(g, kBriefingSound, kFalse, kFalse);
  if (g.CurrentStage == 2 || g.CurrentStage == 6 || g.CurrentStage == 7) g.FireReady = kTrue;

  if (menuRestart == kFalse) {
    StageHost host = Stages(g);
    if (g.CurrentStage == 5) BoatRiseSequence(host);
    if (g.CurrentStage == 7) {
      BoatRiseSequence(host);
      AutoClimb(host, 15);
    }
  }

  PlaySoundSlot(g, kEngineSound, kTrue, kTrue);

  g.ClockRunning = kTrue;
  RestoreBackdrop(g);
  StartForceEffect(g, kPunchedEffect);
  g.StageStartTick = g.platform.clock.Ticks();
  g.trace.Emit("clock", [&](TraceEvent& e) { e.Add("stage", g.CurrentStage); });
}

}  // namespace kav
