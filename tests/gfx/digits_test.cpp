#include "gfx/digits.h"

#include <gtest/gtest.h>

#include "game/game_fixture.h"
#include "game/startup.h"

namespace kav {
namespace {

struct DigitEvents : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override {
    if (e.kind == "digits") events.push_back(e);
  }
};

class DigitsTest : public testing::GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    StartUpPastTheDialogs();
  }
  Screen& S() { return game->screen; }

  // Cell i of the strip shows font cell n (1-based, 0 for none) laid over the backdrop.
  ::testing::AssertionResult CellShows(Pic target, int i, int n) {
    const Control& strip = S()[target];
    const Surface& back = S()[Pic::picBack].Image;
    for (int y = 0; y < 35; ++y) {
      for (int x = 0; x < 25; ++x) {
        uint32_t want = back.Pixel(strip.Left + 25 * i + x, strip.Top + y);
        if (n > 0 && S()[Pic::picMask].Image.Pixel(25 * (n - 1) + x, y) == kBlack) {
          want = S()[Pic::picBuhin].Image.Pixel(25 * (n - 1) + x, y);
        }
        if (strip.Image.Pixel(25 * i + x, y) != want) {
          return ::testing::AssertionFailure() << "cell " << i << " differs at (" << x << ", " << y << ")";
        }
      }
    }
    return ::testing::AssertionSuccess();
  }
  int FigurePixels(int n) {
    int count = 0;
    for (int y = 0; y < 35; ++y) {
      for (int x = 0; x < 25; ++x) count += S()[Pic::picMask].Image.Pixel(25 * (n - 1) + x, y) == kBlack;
    }
    return count;
  }
};

TEST_F(DigitsTest, MagazineCountLeavesTheFourthCellShowingTheBackdrop) {
  DrawDigits(S(), Pic::Picture2, "M=15", game->trace);
  DrawDigits(S(), Pic::Picture2, "M=3", game->trace);
  EXPECT_TRUE(CellShows(Pic::Picture2, 0, 26));
  EXPECT_TRUE(CellShows(Pic::Picture2, 1, 23));
  EXPECT_TRUE(CellShows(Pic::Picture2, 2, 5));
  EXPECT_TRUE(CellShows(Pic::Picture2, 3, 0)) << "the 5 of the last count is gone";
  EXPECT_GT(FigurePixels(26), 40) << "the magazine icon has a figure";
  EXPECT_EQ(S()[Pic::Picture2].Width(), 100) << "the 325-pixel backdrop is clipped, not widened";
}

TEST_F(DigitsTest, ClockTextFillsAllThirteenCells) {
  DrawDigits(S(), Pic::picTim, " 12.34/ 56.78", game->trace);
  const int cells[] = {1, 3, 4, 12, 5, 6, 21, 1, 7, 8, 12, 9, 10};
  for (int i = 0; i < 13; ++i) EXPECT_TRUE(CellShows(Pic::picTim, i, cells[i])) << i;
  EXPECT_EQ(FigurePixels(1), 0) << "the blank cell shows only the backdrop";
}

TEST_F(DigitsTest, SymbolsAndCharactersTheFontLacks) {
  DrawDigits(S(), Pic::picTim, "\"#$%&?-,:+*A9", game->trace);
  const int cells[] = {13, 14, 15, 16, 17, 18, 19, 20, 22, 24, 25, 0, 11};
  for (int i = 0; i < 13; ++i) EXPECT_TRUE(CellShows(Pic::picTim, i, cells[i])) << i;
  DrawDigits(S(), Pic::picTim, "ア1", game->trace);
  EXPECT_TRUE(CellShows(Pic::picTim, 0, 0));
  EXPECT_TRUE(CellShows(Pic::picTim, 1, 3)) << "a wide character takes one cell, not one per byte";
}

TEST_F(DigitsTest, BackdropIsTakenFromWhereTheStripStands) {
  Control& strip = S()[Pic::Picture2];
  strip.Move(211, 97);
  DrawDigits(S(), Pic::Picture2, "0", game->trace);
  EXPECT_TRUE(CellShows(Pic::Picture2, 0, 2));
  EXPECT_TRUE(CellShows(Pic::Picture2, 1, 0));
}

TEST_F(DigitsTest, ShowsAtOnceAndReports) {
  DigitEvents recorder;
  game->trace = Trace(&recorder);
  const int presents = platform->PresentCount();
  DrawDigits(S(), Pic::picTim, " 1.00", game->trace);
  EXPECT_EQ(platform->PresentCount(), presents + 1);
  const Control& strip = S()[Pic::picTim];
  const int x = 25 + 12;
  EXPECT_EQ(platform->LastFrame()[(strip.Top + 17) * kScreenWidth + strip.Left + x], strip.Image.Pixel(x, 17));
  ASSERT_EQ(recorder.events.size(), 1u);
  const auto& f = recorder.events[0].fields;
  ASSERT_EQ(f.size(), 2u);
  EXPECT_EQ(f[0].first, "target");
  EXPECT_EQ(f[0].second.As<std::string>(), "picTim");
  EXPECT_EQ(f[1].first, "text");
  EXPECT_EQ(f[1].second.As<std::string>(), " 1.00");
}

}  // namespace
}  // namespace kav
