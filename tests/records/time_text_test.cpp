#include "records/time_text.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(TimeTextTest, SixColumnsRightAlignedWithTwoDecimals) {
  EXPECT_EQ(TimeText(12340), " 12.34");
  EXPECT_EQ(TimeText(500), "   .50") << "no digit before the point below a second";
  EXPECT_EQ(TimeText(0), "   .00");
  EXPECT_EQ(TimeText(60000), " 60.00");
  EXPECT_EQ(TimeText(999990), "999.99");
  EXPECT_EQ(TimeText(1234560), "234.56") << "only the last six characters show";
}

TEST(TimeTextTest, AThirdDecimalOfFiveRoundsUp) {
  EXPECT_EQ(TimeText(12345), " 12.35");
  EXPECT_EQ(TimeText(12344), " 12.34");
  EXPECT_EQ(TimeText(995), "  1.00") << "the carry reaches the whole seconds";
  EXPECT_EQ(TimeText(4), "   .00");
  EXPECT_EQ(TimeText(-1500), " -1.50");
}

}  // namespace
}  // namespace kav
