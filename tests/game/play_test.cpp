// The run start, the controls, the clock, the stage set-up and the goal tests, each called on
// its own over a started game. Space is held where a screen would wait for the player.
#include <gtest/gtest.h>

#include "game/game_fixture.h"
#include "game/goal_tests.h"
#include "game/play_loop.h"
#include "game/stage_setup.h"
#include "stages/collisions.h"
#include "stages/stage_table.h"
#include "support/trace_recorder.h"

namespace kav {
namespace {

class PlayTest : public testing::GameFixture {
 protected:
  testing::TraceRecorder rec;
  void SetUp() override {
    GameFixture::SetUp();
    StartUpPastTheDialogs();
    game->trace = Trace(&rec);
    ResetRun(*game);
  }
  Game& G() { return *game; }
  Control& Pics(int i) { return *game->Heli.Pics[static_cast<size_t>(i)]; }
  // A stage set up as the run would, the briefing and its wait passed with Space held.
  void SetUpWithSpace(int32_t stage) {
    G().CurrentStage = stage;
    platform->SetKey(kVkSpace, true);
    int16_t restart = kFalse;
    SetUpStage(G(), restart);
    platform->SetKey(kVkSpace, false);
    rec.events.clear();
  }
  // The helicopter with its bottom row at b and its centre column at m.
  void PlaceHeli(int32_t m, int32_t b, double vx, double vy) {
    G().Heli.X = m - G().Heli.Width / 2;
    G().Heli.Y = b - G().Heli.Height;
    G().HeliVX = vx;
    G().HeliVY = vy;
  }
};

TEST_F(PlayTest, ResetRunStartsStageOneAndTakesTheColourKeysFromTheScene) {
  Game& g = G();
  const Surface& picP = g.screen[Pic::picP].Image;
  EXPECT_EQ(g.CurrentStage, 1);
  EXPECT_EQ(g.MagazineCount, 15);
  EXPECT_EQ(g.EnemyHitsLeft, 3);
  EXPECT_EQ(g.CrashColours[0], ColourKey(picP.Pixel(400, 300)));
  EXPECT_EQ(g.CrashColours[1], ColourKey(picP.Pixel(600, 200)));
  EXPECT_EQ(g.PadColour, ColourKey(picP.Pixel(600, 110)));
  EXPECT_EQ(Pics(0).Left, 50);
  EXPECT_TRUE(Pics(0).Visible);
  EXPECT_FALSE(Pics(4).Visible);
  EXPECT_EQ(Pics(4).Top, kParkTop);
  EXPECT_EQ(rec.Of("run").size(), 1u);
}

TEST_F(PlayTest, ControlByteFromKeysAndStick) {
  auto read = [&](std::initializer_list<int> keys) {
    for (int vk : {kVkLeft, kVkRight, kVkUp, kVkDown, kVkSpace}) platform->SetKey(vk, false);
    for (int vk : keys) platform->SetKey(vk, true);
    return ReadControls(G());
  };
  EXPECT_EQ(read({}), 0);
  EXPECT_EQ(read({kVkDown}), CtlClimb) << "Down climbs";
  EXPECT_EQ(read({kVkUp}), CtlDive);
  EXPECT_EQ(read({kVkUp, kVkDown}), 0) << "both cancel";
  EXPECT_EQ(read({kVkLeft, kVkRight, kVkSpace}), CtlLeft | CtlRight | CtlFire);
}

TEST_F(PlayTest, ClockTextShowsStageAndTotalOrTheStageAlone) {
  Game& g = G();
  g.StageTimes[1] = 1234;
  g.TotalTime = 998756;
  EXPECT_EQ(ClockText(g), "  1.23/999.99");
  EXPECT_EQ(ClockText(g).size(), 13u);
  g.TotalTime = 999990;
  EXPECT_EQ(ClockText(g), "  1.23/001.22") << "a total of 1000 s loses its leading digit";
  g.StageTimes[1] = 5;
  g.TotalTime = 0;
  EXPECT_EQ(ClockText(g), "  0.01/  0.01") << "at least one digit before the point";
  g.StageSelectPlay = kTrue;
  EXPECT_EQ(ClockText(g), "  0.01");
}

TEST_F(PlayTest, TimeOverComesPastOneHundredAndFiftySecondsOnARedrawFrame) {
  Game& g = G();
  g.ClockRunning = kTrue;
  g.StageStartTick = platform->Ticks() - 150000;
  g.ClockFrameCount = 2;
  UpdateStageClock(g);
  EXPECT_EQ(g.StageOutcome, 0);
  EXPECT_EQ(g.StageTimes[1], 150000);
  g.StageStartTick = platform->Ticks() - 150001;
  g.ClockFrameCount = 0;
  UpdateStageClock(g);
  EXPECT_EQ(g.StageOutcome, 0) << "seen only when the clock is drawn";
  g.ClockFrameCount = 2;
  UpdateStageClock(g);
  EXPECT_EQ(g.StageOutcome, kOutcomeTimeOver);
  EXPECT_EQ(g.StageTimes[1], 0);
  EXPECT_EQ(rec.Lines({"digits"}).back(), "digits   0.00/  0.00");
}

TEST_F(PlayTest, TheStageClockRunsOnAcrossTheTickWrap) {
  Game& g = G();
  platform->SetTickBase(2147483647 - platform->Now() - 500);
  g.ClockRunning = kTrue;
  g.StageStartTick = platform->Ticks();
  platform->Sleep(1500);
  ASSERT_LT(platform->Ticks(), 0) << "the count has wrapped";
  UpdateStageClock(g);
  EXPECT_EQ(g.StageTimes[1], 1500);
  EXPECT_EQ(g.StageOutcome, 0);
}

TEST_F(PlayTest, BriefingLinesCarryTheBestTimeAndTheStageThreeShortage) {
  Game& g = G();
  auto lines = BriefingLines(g, 1);
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(lines[i], StageTable(1).briefing[i]) << i;
  EXPECT_EQ(lines[9], "   /ﾍﾞｽﾄ&:/ 60.00 ORVEL");
  EXPECT_EQ(lines[10], "");
  g.MagazineCount = 12;
  EXPECT_EQ(BriefingLines(g, 3)[1], "/    ﾈﾝﾘｮｳ ﾄ ﾀﾞﾝﾔｸ ｶﾞ");
  g.MagazineCount = 13;
  EXPECT_EQ(BriefingLines(g, 3)[1], "/        ﾈﾝﾘｮｳ ｶﾞ");
  EXPECT_EQ(BriefingLines(g, 7)[4], " ") << "stage 7 holds a single blank there";
  g.RecordTimes[21] = 0;
  g.RecordNames[21] = "ACE";
  EXPECT_EQ(BriefingLines(g, 8)[9], "   /ﾍﾞｽﾄ&:/   .00 ACE");
  EXPECT_EQ(BriefingLines(g, 9)[0], "") << "no stage past the eighth";
}

TEST_F(PlayTest, SetUpPlacesTheFiguresBlinksTheMarkerAndStartsTheClock) {
  G().CurrentStage = 4;
  platform->SetKey(kVkSpace, true);
  int16_t restart = kFalse;
  SetUpStage(G(), restart);
  Game& g = G();
  EXPECT_EQ(g.GoalLeft, 601);
  EXPECT_EQ(g.GoalTop, 85);
  EXPECT_EQ(g.Loaded, kFalse);
  EXPECT_TRUE(Pics(6).Visible);
  EXPECT_EQ(Pics(6).Left, 600);
  EXPECT_EQ(Pics(6).Top, 99);
  EXPECT_FALSE(Pics(9).Visible) << "the marker is put away after its blink";
  EXPECT_EQ(Pics(9).Top, kParkTop);
  EXPECT_EQ(g.ClockRunning, kTrue);
  EXPECT_EQ(g.StageStartTick, platform->Ticks());
  // Two flashes, each with a tick.
  size_t ticks = 0;
  for (const std::string& line : rec.Lines({"sound"})) ticks += line == "sound play 8";
  EXPECT_EQ(ticks, 2u);
  const auto stage = rec.Of("stage");
  ASSERT_EQ(stage.size(), 1u);
  EXPECT_EQ(testing::TraceRecorder::Field(*stage[0], "stage")->As<int64_t>(), 4);
  EXPECT_EQ(rec.Of("clock").size(), 1u);
  EXPECT_FALSE(g.screen[Pic::Picture4].Visible);
}

TEST_F(PlayTest, ShootingStagesArmTheRifleAndPlaceTheCulprits) {
  SetUpWithSpace(6);
  EXPECT_EQ(G().FireReady, kTrue);
  EXPECT_EQ(G().Loaded, kTrue);
  EXPECT_EQ(Pics(5).Left, 590);
  EXPECT_EQ(Pics(5).Top, 290);
  EXPECT_EQ(Pics(8).Left, 210);
  EXPECT_EQ(Pics(8).Top, 504);
  SetUpWithSpace(7);
  EXPECT_EQ(G().screen[Pic::TekiMen].Left, 740);
  EXPECT_TRUE(G().screen[Pic::TekiMen].Visible);
  EXPECT_FALSE(Pics(5).Visible) << "the stage before's culprit is put away";
}

TEST_F(PlayTest, LandingBandAndSpeedLimits) {
  SetUpWithSpace(1);
  Game& g = G();
  struct Case {
    int32_t m, b;
    double vx, vy;
    int16_t landed;
    uint8_t outcome;
  };
  // GoalLeft 303, GoalRight 365, GoalTop 274.
  for (const Case& c :
       {Case{334, 271, 0, 0, kFalse, 0}, Case{334, 276, 0, 0, kFalse, 0}, Case{302, 274, 0, 0, kFalse, 0},
        Case{366, 274, 0, 0, kFalse, 0}, Case{334, 274, 1.5, 0, kFalse, kOutcomeHardLanding},
        Case{334, 274, -1.5, 0, kFalse, kOutcomeHardLanding}, Case{334, 274, 0, 2.5, kFalse, kOutcomeHardLanding}}) {
    g.StageOutcome = 0;
    PlaceHeli(c.m, c.b, c.vx, c.vy);
    EXPECT_EQ(CheckLanding(g), kFalse);
    EXPECT_EQ(g.StageOutcome, c.outcome) << c.m << "," << c.b << " " << c.vx << "," << c.vy;
    EXPECT_EQ(g.CurrentStage, 1);
  }
  // An odd width leaves the centre on a half column, which is no landing.
  g.Heli.Width = 47;
  g.Heli.X = 310;
  g.Heli.Y = 274 - g.Heli.Height;
  g.HeliVX = 0;
  g.HeliVY = 0;
  EXPECT_EQ(CheckLanding(g), kFalse);
  EXPECT_EQ(g.CurrentStage, 1);
  g.Heli.Width = 48;

  // Two rows above to one below counts; 1.4 across and 2.4 down is still gentle.
  for (int32_t b : {272, 275}) {
    SetUpWithSpace(1);
    g.StageOutcome = 0;
    PlaceHeli(334, b, 1.4, 2.4);
    platform->SetKey(kVkSpace, true);
    EXPECT_EQ(CheckLanding(g), kFalse);
    platform->SetKey(kVkSpace, false);
    EXPECT_EQ(g.CurrentStage, 2) << b;
    EXPECT_EQ(g.StageOutcome, 0);
  }
  const auto clears = rec.Of("clear");
  ASSERT_FALSE(clears.empty());
  EXPECT_EQ(testing::TraceRecorder::Field(*clears.back(), "stage")->As<int64_t>(), 1);
}

TEST_F(PlayTest, TheHostageRoofTakesOnlyTheGentlestTouch) {
  SetUpWithSpace(4);
  Game& g = G();
  PlaceHeli(605, 85, 0, 1.2);
  EXPECT_EQ(CheckLanding(g), kFalse);
  EXPECT_EQ(g.StageOutcome, 0) << "neither clear nor failure";
  EXPECT_EQ(g.CurrentStage, 4);
  PlaceHeli(605, 85, 0.5, 0.5);
  platform->SetKey(kVkSpace, true);
  CheckLanding(g);
  EXPECT_EQ(g.CurrentStage, 5);
}

TEST_F(PlayTest, TheHeadquartersRefillsTheMagazineCartridgeByCartridge) {
  G().MagazineCount = 4;
  SetUpWithSpace(3);
  Game& g = G();
  PlaceHeli(140, 351, 0, 0);
  platform->SetKey(kVkSpace, true);
  CheckLanding(g);
  std::vector<std::string> drawn;
  for (const std::string& line : rec.Lines({"digits"})) {
    if (line.rfind("digits M=", 0) == 0) drawn.push_back(line.substr(7));
  }
  ASSERT_EQ(drawn.size(), 12u);
  EXPECT_EQ(drawn.front(), "M=4");
  EXPECT_EQ(drawn.back(), "M=15");
  EXPECT_EQ(g.MagazineCount, 15);
}

TEST_F(PlayTest, StageTwoBandExcludesItsBottomRow) {
  SetUpWithSpace(2);
  Game& g = G();
  const int32_t half = Pics(4).Height() / 2;
  ASSERT_EQ(Pics(4).Height() % 2, 0) << "the rows below assume a bullet of even height";
  g.ShotY = 343 - half;
  EXPECT_EQ(CheckTargetHit(g), kFalse);
  EXPECT_EQ(g.CurrentStage, 2);
  g.ShotY = 342 - half;
  platform->SetKey(kVkSpace, true);
  EXPECT_EQ(CheckTargetHit(g), kFalse);
  EXPECT_EQ(g.CurrentStage, 3);
}

TEST_F(PlayTest, TheClimbingCulpritMovesDownTwiceThenFallsToAShotFromTheRight) {
  SetUpWithSpace(6);
  Game& g = G();
  const int32_t half = Pics(4).Height() / 2;
  g.Heli.X = 500;
  g.ShotY = 305 - half;  // the band's bottom row counts here
  EXPECT_EQ(CheckClimbingTargetHit(g), kFalse);
  EXPECT_EQ(Pics(5).Left, 590);
  EXPECT_EQ(Pics(5).Top, 362);
  g.ShotY = 370 - half;
  EXPECT_EQ(CheckClimbingTargetHit(g), kFalse);
  EXPECT_EQ(Pics(5).Left, 730);
  EXPECT_EQ(Pics(5).Top, 365);
  g.ShotY = 370 - half;
  EXPECT_EQ(CheckClimbingTargetHit(g), kFalse) << "fired from left of column 600";
  EXPECT_EQ(g.CurrentStage, 6);
  g.Heli.X = 601;
  platform->SetKey(kVkSpace, true);
  CheckClimbingTargetHit(g);
  EXPECT_EQ(g.CurrentStage, 7);
}

TEST_F(PlayTest, TheGunnerTakesFourHits) {
  SetUpWithSpace(7);
  Game& g = G();
  g.EnemyHitsLeft = 3;
  g.ShotY = 100 - Pics(4).Height() / 2;
  for (int hit = 1; hit <= 3; ++hit) {
    EXPECT_EQ(CheckGunnerHit(g), kFalse);
    EXPECT_EQ(g.CurrentStage, 7) << hit;
  }
  platform->SetKey(kVkSpace, true);
  CheckGunnerHit(g);
  EXPECT_EQ(g.CurrentStage, 8);
}

TEST_F(PlayTest, ASelectPlayClearAsksForANewRun) {
  SetUpWithSpace(5);
  Game& g = G();
  g.StageSelectPlay = kTrue;
  g.StageTimes[5] = 61234;
  PlaceHeli(250, 525, 0, 0);
  platform->SetKey(kVkSpace, true);
  EXPECT_EQ(CheckLanding(g), kTrue);
  EXPECT_EQ(g.CurrentStage, 1);
  EXPECT_EQ(g.StageSelectPlay, kFalse);
  EXPECT_EQ(g.RecordTimes[13], 61234) << "a select play's time enters the table too";
}

}  // namespace
}  // namespace kav
