#include "ui/ranking_text.h"

#include <gtest/gtest.h>

#include "ui/dialog_layout.h"

namespace kav {
namespace {

RecordState FreshTable() {
  RecordState r;
  for (size_t i = 0; i < r.RecordTimes.size(); ++i) {
    r.RecordDates[i] = "04/22";
    r.RecordNames[i] = "ORVEL";
    r.RecordTimes[i] =
        i < 24 ? 60000 + 10000 * static_cast<int32_t>(i % 3) : 250000 + 50000 * static_cast<int32_t>(i - 24);
  }
  return r;
}

TEST(RankingTextTest, ThirtySevenLinesWithTheDatesInOneColumn) {
  const std::vector<std::string> lines = SplitDialogLines(RankingText(FreshTable()));
  ASSERT_EQ(lines.size(), 37u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], "Kavrona1: 04/22 ORVEL  60.00");
  EXPECT_EQ(lines[2], "          04/22 ORVEL  70.00");
  EXPECT_EQ(lines[3], "          04/22 ORVEL  80.00");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[33], "  TOTAL : 04/22 ORVEL 250.00");
  EXPECT_EQ(lines[35], "          04/22 ORVEL 350.00");
  EXPECT_EQ(lines[36], "");
  for (const std::string& line : lines) {
    if (!line.empty()) {
      EXPECT_EQ(line.find("04/22"), 10u) << line;
    }
  }
  EXPECT_EQ(LayOutDialog(RankingText(FreshTable()), "Y", "F").outerHeight, 535);
}

TEST(RankingTextTest, NamesAreNotPaddedAndLongTimesLoseTheirLeadingDigits) {
  RecordState r = FreshTable();
  r.RecordNames[3] = "AB";
  r.RecordTimes[3] = 1234560;
  const std::vector<std::string> lines = SplitDialogLines(RankingText(r));
  EXPECT_EQ(lines[5], "Kavrona2: 04/22 AB 234.56");
}

}  // namespace
}  // namespace kav
