#include "recording/best_runs.h"

#include <algorithm>

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
  if (event.kind == "wait") {
    Flush();
    return;
  }
  if (event.kind != "records" || !armed_) return;
  const TableCopy now = TableCopy::Of(r_);
  for (int i = 0; i <= kTotalRecordBase; i += kRanks) {
    const std::string name = BestRunFileName(i);
    if (!now.SameEntry(before_, i) && std::find(due_.begin(), due_.end(), name) == due_.end()) due_.push_back(name);
  }
  before_ = now;
}

void BestRuns::Flush() {
  if (due_.empty()) return;
  std::vector<std::string> files;
  files.swap(due_);
  keep_(files);
}

}  // namespace kav::recording
