#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kav {

constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

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

}  // namespace kav
