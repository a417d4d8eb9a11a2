#include "recording/best_runs.h"

namespace kav::recording {
namespace {

constexpr int kRanks = 3;

}  // namespace

std::string BestRunFileName(int entry) {
  if (entry >= kTotalRecordBase) return "total.kvr";
  return "stage" + std::to_string(entry / kRanks + 1) + ".kvr";
}

TableCopy TableCopy::Of(const RecordState& r) {
  TableCopy t;
  t.times = r.RecordTimes;
  t.names = r.RecordNames;
  t.dates = r.RecordDates;
  return t;
}

bool TableCopy::SameEntry(const TableCopy& other, int i) const {
  const auto k = static_cast<size_t>(i);
  return times[k] == other.times[k] && names[k] == other.names[k] && dates[k] == other.dates[k];
}

void BestRuns::Write(const TraceEvent& event) {
  if (event.kind == "stage") {
    before_ = TableCopy::Of(r_);
    armed_ = true;
    return;
  }
  if (event.kind != "records" || !armed_) return;
  const TableCopy now = TableCopy::Of(r_);
  std::vector<std::string> files;
  for (int i = 0; i <= kTotalRecordBase; i += kRanks) {
    if (!now.SameEntry(before_, i)) files.push_back(BestRunFileName(i));
  }
  before_ = now;
  if (!files.empty()) keep_(files);
}

}  // namespace kav::recording
