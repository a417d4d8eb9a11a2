#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/boolean.h"

namespace kav {

// Why a stage ended without a clear.
enum StageOutcomeCode : uint8_t {
  kOutcomeNone = 0,
  kOutcomeTimeOver = 1,
  kOutcomeCrash = 2,
  kOutcomeMissileHit = 3,
  kOutcomeHostageHit = 4,
  kOutcomeHardLanding = 5,
  kOutcomeRammedCulprit = 6,
};

// The run, stage and flight slice of the game's state register.
struct RunState {
  int32_t CurrentStage = 0;
  std::array<int32_t, 9> StageTimes{};  // element n: stage n; element 0 unused
  int32_t TotalTime = 0;
  int32_t StageStartTick = 0;
  int16_t ClockRunning = kFalse;
  int32_t ClockFrameCount = 0;
  uint8_t StageOutcome = kOutcomeNone;
  int16_t StageSelectPlay = kFalse;
  int16_t Landed = kFalse;
  int32_t EnemyHitsLeft = 0;
  int16_t DevicesReady = kFalse;

  double HeliVX = 0;
  double HeliVY = 0;
  uint8_t PrevControls = 0;
  int16_t OnPad = kFalse;
  int32_t MagazineCount = 0;
  int16_t Loaded = kFalse;
  int16_t FireReady = kFalse;
  int32_t ShotX = 0;
  int32_t ShotY = 0;
  std::array<std::string, 2> CrashColours;
  std::string PadColour;
  int32_t GoalLeft = 0;
  int32_t GoalRight = 0;
  int32_t GoalTop = 0;
  int32_t GoalBottom = 0;

  // Locals of the play loop, kept here because they outlive a frame.
  uint8_t Controls = 0;
  int32_t ShotTravel = 0;
  int32_t MissileX = 0;
  int32_t RearmCounter = 0;
};

// Every variable of the slice under its own name, for the runner's state, set and expect.
// A variable added above must be added here too; a test counts the members.
template <class V>
void VisitVars(RunState& s, V&& v) {
  v("CurrentStage", s.CurrentStage);
  v("StageTimes", s.StageTimes);
  v("TotalTime", s.TotalTime);
  v("StageStartTick", s.StageStartTick);
  v("ClockRunning", s.ClockRunning);
  v("ClockFrameCount", s.ClockFrameCount);
  v("StageOutcome", s.StageOutcome);
  v("StageSelectPlay", s.StageSelectPlay);
  v("Landed", s.Landed);
  v("EnemyHitsLeft", s.EnemyHitsLeft);
  v("DevicesReady", s.DevicesReady);
  v("HeliVX", s.HeliVX);
  v("HeliVY", s.HeliVY);
  v("PrevControls", s.PrevControls);
  v("OnPad", s.OnPad);
  v("MagazineCount", s.MagazineCount);
  v("Loaded", s.Loaded);
  v("FireReady", s.FireReady);
  v("ShotX", s.ShotX);
  v("ShotY", s.ShotY);
  v("CrashColours", s.CrashColours);
  v("PadColour", s.PadColour);
  v("GoalLeft", s.GoalLeft);
  v("GoalRight", s.GoalRight);
  v("GoalTop", s.GoalTop);
  v("GoalBottom", s.GoalBottom);
  v("Controls", s.Controls);
  v("ShotTravel", s.ShotTravel);
  v("MissileX", s.MissileX);
  v("RearmCounter", s.RearmCounter);
}

}  // namespace kav
