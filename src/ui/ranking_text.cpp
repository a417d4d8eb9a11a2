#include "ui/ranking_text.h"

#include "records/time_text.h"

namespace kav {

std::string RankingText(const RecordState& r) {
  std::string text;
  for (size_t i = 0; i < r.RecordTimes.size(); ++i) {
    if (i % 3 == 0) {
      text += i == 24 ? ";  TOTAL : " : ";Kavrona" + std::to_string(i / 3 + 1) + ": ";
    } else {
      text += "          ";
    }
    text += r.RecordDates[i] + " " + r.RecordNames[i] + " " + TimeText(r.RecordTimes[i]) + ";";
  }
  return text;
}

}  // namespace kav
