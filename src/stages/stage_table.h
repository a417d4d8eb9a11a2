#pragma once

#include <array>
#include <cstdint>

#include "base/boolean.h"

namespace kav {

// One stage of the eight: its goal values, whether the rifle may fire, and lines 0 to 7 of
// its briefing.
struct StageInfo {
  int32_t GoalLeft;
  int32_t GoalRight;
  int32_t GoalTop;
  int32_t GoalBottom;
  int16_t Loaded;
  std::array<const char*, 8> briefing;
};

constexpr int32_t kStageCount = 8;

// stage: 1..8.
const StageInfo& StageTable(int32_t stage);

// Stage 3's line 1 when the magazine is low too: fuel and ammunition are short.
extern const char* const kShortOfAmmunitionLine;
constexpr int32_t kShortOfAmmunitionBelow = 13;

// The best line's mark-up before the time and the holder's name.
inline constexpr const char* kBestLinePrefix = "   /ﾍﾞｽﾄ&:/";

// Where stage s keeps its best entry in the best-time table.
constexpr int32_t BestEntry(int32_t stage) {
  return 3 * (stage - 1);
}

}  // namespace kav
