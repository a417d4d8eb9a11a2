#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "base/state_vars.h"
#include "base/trace.h"

namespace kav {

constexpr int kRecordCount = 27;
// First entry of the totals group; stage s owns entries (s - 1) * 3 .. (s - 1) * 3 + 2.
constexpr int kTotalRecordBase = 24;

// The records' slice of the game's state register, each variable once; GameState inherits
// it, so the names are the game's.
#define KAV_RECORD_STATE_VARS(VAR)                                                            \
  VAR(KAV_TYPE(std::array<std::string, kRecordCount>), RecordDates, {}) /* "mm/dd" */         \
  VAR(KAV_TYPE(std::array<int32_t, kRecordCount>), RecordTimes, {})     /* ms */              \
  VAR(KAV_TYPE(std::array<std::string, kRecordCount>), RecordNames, {}) /* UTF-8 in memory */ \
  VAR(std::string, SoundSwitch, "ON")                                                         \
  VAR(std::string, PlayerName, {}) /* UTF-8 in memory */                                      \
  VAR(int32_t, FullScreenOn, 0)                                                               \
  VAR(std::string, RecordFilePath, {}) /* AppDir + "Kavrona.ini" */

struct RecordState {
  KAV_RECORD_STATE_VARS(KAV_DECLARE_VAR)
};

// Every variable of the slice under its own name.
template <class V>
void VisitVars(RecordState& s, V&& v) {
  KAV_RECORD_STATE_VARS(KAV_VISIT_VAR)
}

// today: "mm/dd". Seeds the defaults (60000/70000/80000 per stage, 250000/300000/350000 totals, "ORVEL").
void SeedDefaultRecords(RecordState& r, const std::string& today);
// isTotal: 16-bit Boolean (True = -1). Ranks, then always saves. Returns what SaveRecords returned.
bool InsertBestTime(RecordState& r, int32_t currentStage, int32_t timeMs, int16_t isTotal, const std::string& today,
                    const Trace& trace);
// Reads r.RecordFilePath. Never throws; whatever cannot be read keeps the value r already holds.
// An empty player-name line counts as damage too, so r.PlayerName is never emptied.
// Returns false when the file could not be read at all or some part was damaged.
bool LoadRecords(RecordState& r);
// Writes r.RecordFilePath atomically. Never throws; returns false when the save failed (the old file is then left
// whole).
// Without the Shift_JIS converter nothing is written (the names would be lost) and a line on
// standard error says so, the first time only.
// Reports a "records" event with the outcome.
bool SaveRecords(const RecordState& r, const Trace& trace);
bool FileExists(const std::string& path);        // 16-bit Boolean in the original; bool here
std::string FormatMonthDay(int month, int day);  // "04/22"

}  // namespace kav
