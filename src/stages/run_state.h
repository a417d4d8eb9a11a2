#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/boolean.h"
#include "base/state_vars.h"

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

// The run, stage and flight slice of the game's state register, each variable once.
#define KAV_RUN_STATE_VARS(VAR)                                                                    \
  VAR(int32_t, CurrentStage, 0)                                                                    \
  VAR(KAV_TYPE(std::array<int32_t, 9>), StageTimes, {}) /* element n: stage n; element 0 unused */ \
  VAR(int32_t, TotalTime, 0)                                                                       \
  VAR(int32_t, StageStartTick, 0)                                                                  \
  VAR(int16_t, ClockRunning, kFalse)                                                               \
  VAR(int32_t, ClockFrameCount, 0)                                                                 \
  VAR(uint8_t, StageOutcome, kOutcomeNone)                                                         \
  VAR(int16_t, StageSelectPlay, kFalse)                                                            \
  VAR(int16_t, Landed, kFalse)                                                                     \
  VAR(int32_t, EnemyHitsLeft, 0)                                                                   \
  VAR(int16_t, DevicesReady, kFalse)                                                               \
                                                                                                   \
  VAR(double, HeliVX, 0)                                                                           \
  VAR(double, HeliVY, 0)                                                                           \
  VAR(uint8_t, PrevControls, 0)                                                                    \
  VAR(int16_t, OnPad, kFalse)                                                                      \
  VAR(int32_t, MagazineCount, 0)                                                                   \
  VAR(int16_t, Loaded, kFalse)                                                                     \
  VAR(int16_t, FireReady, kFalse)                                                                  \
  VAR(int32_t, ShotX, 0)                                                                           \
  VAR(int32_t, ShotY, 0)                                                                           \
  VAR(KAV_TYPE(std::array<std::string, 2>), CrashColours, {})                                      \
  VAR(std::string, PadColour, {})                                                                  \
  VAR(int32_t, GoalLeft, 0)                                                                        \
  VAR(int32_t, GoalRight, 0)                                                                       \
  VAR(int32_t, GoalTop, 0)                                                                         \
  VAR(int32_t, GoalBottom, 0)                                                                      \
                                                                                                   \
  /* Locals of the play loop, kept here because they outlive a frame. */                           \
  VAR(uint8_t, Controls, 0)                                                                        \
  VAR(int32_t, ShotTravel, 0)                                                                      \
  VAR(int32_t, MissileX, 0)                                                                        \
  VAR(int32_t, RearmCounter, 0)

struct RunState {
  KAV_RUN_STATE_VARS(KAV_DECLARE_VAR)
};

// Every variable of the slice under its own name, for the runner's state, set and expect.
template <class V>
void VisitVars(RunState& s, V&& v) {
  KAV_RUN_STATE_VARS(KAV_VISIT_VAR)
}

}  // namespace kav
