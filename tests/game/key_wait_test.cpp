#include "game/key_wait.h"

#include <gtest/gtest.h>

#include "base/game_exit.h"
#include "game/game_fixture.h"
#include "game/startup.h"

namespace kav {
namespace {

class KeyWaitTest : public testing::GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    platform->SetDate(12, 8);
    StartUpPastTheDialogs();
    platform->ClearDisplayLog();
    t0 = platform->Now();
  }
  // Where the tests' own times count from: the end of start-up.
  int64_t t0 = 0;
  int32_t Wait(int32_t ticks) {
    const int32_t start = platform->Ticks();
    WaitKey(*game, ticks);
    EXPECT_EQ(ticks, 0);
    return platform->Ticks() - start;
  }
  std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
      const size_t end = text.find("\r\n", at);
      if (end == std::string::npos) {
        lines.push_back(text.substr(at) + "<no CR LF>");
        break;
      }
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }
};

TEST_F(KeyWaitTest, ZeroTicksPollsNothingAndTakesItsTwoPauses) {
  platform->SetKey(kVkEscape, true);  // not even Escape is looked at
  EXPECT_EQ(Wait(0), 130);
}

TEST_F(KeyWaitTest, CountedWaitReturnsByItselfAfterItsPasses) {
  EXPECT_EQ(Wait(50), 30 + 50 + 100);
}

TEST_F(KeyWaitTest, SpaceOrEnterEndsAnEndlessWait) {
  platform->PressKeyAt(kVkReturn, t0 + 1000);
  const int32_t took = Wait(-1);
  EXPECT_GE(took, 1000);
  EXPECT_LE(took, 1000 + 101 + 1);
}

TEST_F(KeyWaitTest, EscapeEndsTheGame) {
  platform->PressKeyAt(kVkEscape, t0 + 400);
  int32_t ticks = -1;
  EXPECT_THROW(WaitKey(*game, ticks), GameExit);
}

TEST_F(KeyWaitTest, ClosingTheWindowEndsTheGameThoughNoEventsRun) {
  platform->QueueEventAt(t0 + 700, PlatformEvent::Close());
  int32_t ticks = -1;
  EXPECT_THROW(WaitKey(*game, ticks), GameExit);
  EXPECT_GE(platform->Now(), t0 + 700);
  EXPECT_LT(platform->Now(), t0 + 710);
}

TEST_F(KeyWaitTest, FourthFunctionKeyTogglesOncePerPressAndSavesEachTime) {
  // Held for 300 passes: one toggle, not 300.
  platform->PressKeyAt(kVkF4, t0 + 100, 300);
  platform->PressKeyAt(kVkF4, t0 + 900, 50);
  platform->PressKeyAt(kVkSpace, t0 + 1500);
  std::vector<std::string> saved;
  platform->onSleep = [&](HeadlessPlatform& p) {
    if (p.Now() == t0 + 600) saved.push_back(ReadRecordFile());
  };
  Wait(-1);
  const auto& log = platform->DisplayLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "fullscreen-on"), 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "fullscreen-off"), 1);
  EXPECT_EQ(game->FullScreenOn, 0);
  EXPECT_EQ(platform->GetWindowRect(), game->SavedWindowRect) << "the window is back where it was";

  ASSERT_EQ(saved.size(), 1u);
  const std::vector<std::string> during = Lines(saved[0]);
  ASSERT_EQ(during.size(), 30u);
  EXPECT_EQ(during[29], " 1 ");

  const std::vector<std::string> after = Lines(ReadRecordFile());
  ASSERT_EQ(after.size(), 30u);
  EXPECT_EQ(after[0], "12/08@60000\\ORVEL");
  EXPECT_EQ(after[1], "12/08@70000\\ORVEL");
  EXPECT_EQ(after[2], "12/08@80000\\ORVEL");
  EXPECT_EQ(after[23], "12/08@80000\\ORVEL");
  EXPECT_EQ(after[24], "12/08@250000\\ORVEL");
  EXPECT_EQ(after[25], "12/08@300000\\ORVEL");
  EXPECT_EQ(after[26], "12/08@350000\\ORVEL");
  EXPECT_EQ(after[27], "ON");
  EXPECT_EQ(after[28], "ORVEL");
  EXPECT_EQ(after[29], " 0 ");
}

}  // namespace
}  // namespace kav
