#pragma once

#include <string>

#include "records/records.h"

namespace kav {

// The ranking as the system menu shows it: 37 lines, a group of three per stage and one for
// the totals, every date in one column.
std::string RankingText(const RecordState& r);

}  // namespace kav
