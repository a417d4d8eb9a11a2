#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/trace.h"
#include "records/records.h"

namespace kav::recording {

// The file a best run is kept in, under the data directory's replays/: stage1.kvr .. stage8.kvr
// for the best time of a stage, total.kvr for the best total.
constexpr const char* kReplaysDir = "replays";
std::string BestRunFileName(int entry);  // entry: a rank-1 index of the best-time table

// The best-time table as it stood, to see which entries a save has changed.
struct TableCopy {
  std::array<int32_t, kRecordCount> times{};
  std::array<std::string, kRecordCount> names;
  std::array<std::string, kRecordCount> dates;
  static TableCopy Of(const RecordState& r);
  bool SameEntry(const TableCopy& other, int i) const;
};

// Watches the saves of the record file: when a save puts a new entry at rank 1 of a stage or
// of the totals, tells which files to keep the session's recording in. The table is taken
// when each stage is set up, so the name and settings the player saves change nothing. The
// recording is kept at the next key wait (the clear screen's, the totals'), so that it shows
// the clear and its screen; Flush keeps what is due when the game ends first.
class BestRuns final : public TraceSink {
 public:
  using Keep = std::function<void(const std::vector<std::string>& fileNames)>;
  BestRuns(const RecordState& r, Keep keep) : r_(r), keep_(std::move(keep)) {}
  void Write(const TraceEvent& event) override;
  void Flush();

 private:
  const RecordState& r_;
  Keep keep_;
  bool armed_ = false;
  TableCopy before_;
  std::vector<std::string> due_;
};

}  // namespace kav::recording
