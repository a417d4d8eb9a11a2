#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_fixture.h"
#include "game/hosts.h"
#include "game/startup.h"
#include "stages/collisions.h"
#include "stages/flight.h"

namespace kav {
namespace {

struct Recorder : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override { events.push_back(e); }
  std::vector<const TraceEvent*> Of(const std::string& kind) const {
    std::vector<const TraceEvent*> out;
    for (const TraceEvent& e : events) {
      if (e.kind == kind) out.push_back(&e);
    }
    return out;
  }
};

int64_t IntField(const TraceEvent& e, const std::string& key) {
  for (const auto& [k, v] : e.fields) {
    if (k == key && v.Is<int64_t>()) return v.As<int64_t>();
  }
  return -999999;
}

std::string TextField(const TraceEvent& e, const std::string& key) {
  for (const auto& [k, v] : e.fields) {
    if (k == key && v.Is<std::string>()) return v.As<std::string>();
  }
  return "?";
}

// The generated scene on picP with the colour keys taken as a run takes them, and frames run
// through the flight, missile, bullet and collision routines in the play loop's order, gravity
// included. The goal tests come with the stage end and are not run here.
class SceneRunTest : public testing::GameFixture {
 protected:
  Recorder rec;

  void SetUp() override {
    GameFixture::SetUp();
    StartUpPastTheDialogs();
    game->trace = Trace(&rec);
    Game& g = *game;
    const Control& picP = g.screen[Pic::picP];
    ASSERT_EQ(picP.Image.Pixels(), g.screen[Pic::picBack].Image.Pixels());
    g.CrashColours = {ColourKey(picP.Image.Pixel(400, 300)), ColourKey(picP.Image.Pixel(600, 200))};
    g.PadColour = ColourKey(picP.Image.Pixel(600, 110));
    g.CurrentStage = 1;
    g.MagazineCount = 15;
    g.MissileX = 720;
  }

  Game& G() { return *game; }

  // One frame; false when it ended with an outcome.
  bool Frame(uint8_t controls) {
    Game& g = *game;
    StageHost host = Stages(g);
    AttenuateSoundSlot(host.sound, 1, g.Heli.Y);
    g.Controls = controls;
    RestOnPad(host);
    FlyFrame(host);
    MissileStep(host);
    const bool flying = BulletInFlight(host);
    BulletStep(host, GoalTests{});
    if (!flying && g.StageOutcome != kOutcomeNone) return false;
    if (g.OnPad == kFalse && CheckHeliContacts(host) != kOutcomeNone) g.StageOutcome = CheckHeliContacts(host);
    if (g.StageOutcome != kOutcomeNone) return false;
    ApplyGravity(host);
    g.platform.clock.Sleep(16);
    return true;
  }
  // Frames until an outcome or until done says so; the number of frames run.
  template <class Done>
  int RunUntil(uint8_t controls, Done done, int limit = 1000) {
    int n = 0;
    while (n < limit) {
      ++n;
      if (!Frame(controls) || done()) break;
    }
    return n;
  }
  void Start(int32_t x, int32_t y, double vy = 0) {
    G().Heli.X = x;
    G().Heli.Y = y;
    G().HeliVY = vy;
    G().Heli.Pics[kHeliPic]->Move(x, y);
  }
};

TEST_F(SceneRunTest, HeldRightFromTheRunStartCrashesIntoABuilding) {
  Start(50, 50);
  RunUntil(CtlRight, [] { return false; });
  const HeliRecord& h = G().Heli;
  EXPECT_EQ(G().StageOutcome, kOutcomeCrash);
  ASSERT_EQ(rec.Of("contact").size(), 2u) << "the play loop asks twice";
  EXPECT_EQ(IntField(*rec.Of("contact")[0], "code"), 2);
  const bool headquarters = h.X + h.Width >= 60 && h.X <= 200 && h.Y + h.Height >= 352;
  const bool centre = h.X + h.Width >= 300 && h.X <= 430 && h.Y + h.Height >= 275;
  EXPECT_TRUE(headquarters || centre) << "at " << h.X << "," << h.Y;
  EXPECT_LT(h.Y + h.Height, 530) << "before the ground";
}

TEST_F(SceneRunTest, AGentleDescentOntoTheTowerRoofRestsAndResupplies) {
  Start(700, 80);
  G().MagazineCount = 12;
  const int frames = RunUntil(0, [&] { return G().OnPad == kTrue; });
  EXPECT_EQ(G().StageOutcome, kOutcomeNone);
  ASSERT_EQ(G().OnPad, kTrue) << "after " << frames << " frames at " << G().Heli.Y;
  const int32_t bottom = G().Heli.Y + G().Heli.Height;
  EXPECT_GE(bottom, 108);
  EXPECT_LE(bottom, 113);
  EXPECT_EQ(G().MagazineCount, 15);
  std::vector<std::string> digits;
  for (const TraceEvent* e : rec.Of("digits")) digits.push_back(TextField(*e, "text"));
  EXPECT_EQ(digits, (std::vector<std::string>{"M=12", "M=13", "M=14", "M=15"}));
  int ticks = 0;
  for (const TraceEvent* e : rec.Of("sound")) {
    if (IntField(*e, "slot") == 8 && TextField(*e, "op") == "play") ++ticks;
  }
  EXPECT_EQ(ticks, 4);
  EXPECT_TRUE(rec.Of("contact").empty());

  // Resting: gravity is undone every frame and the helicopter stays put.
  const int32_t y = G().Heli.Y;
  for (int i = 0; i < 10; ++i) ASSERT_TRUE(Frame(0));
  EXPECT_EQ(G().Heli.Y, y);
  EXPECT_EQ(G().FireReady, kFalse);
  // Down with Right is no lift-off; Down alone is.
  ASSERT_TRUE(Frame(CtlClimb | CtlRight));
  EXPECT_EQ(G().OnPad, kTrue);
  ASSERT_TRUE(Frame(CtlClimb));
  EXPECT_EQ(G().OnPad, kFalse);
  EXPECT_EQ(G().FireReady, kTrue);
  EXPECT_LT(G().Heli.Y, y - 10);
  EXPECT_EQ(G().Heli.Pics[kHeliPic]->Top, G().Heli.Y);
}

TEST_F(SceneRunTest, AFastDescentOntoTheTowerRoofIsAHardLanding) {
  Start(700, 40, 3);
  RunUntil(0, [] { return false; });
  EXPECT_EQ(G().StageOutcome, kOutcomeHardLanding);
  EXPECT_GT(G().HeliVY, 2.5);
  const int32_t bottom = G().Heli.Y + G().Heli.Height;
  EXPECT_GE(bottom, 108);
  EXPECT_LE(bottom, 113);
  EXPECT_EQ(G().OnPad, kFalse);
  EXPECT_EQ(G().MagazineCount, 15) << "no resupply on a hard landing";
}

TEST_F(SceneRunTest, AShotFromTheSnipingGapStrikesTheTowerFace) {
  G().CurrentStage = 6;
  G().Loaded = kTrue;
  G().FireReady = kTrue;
  Start(440, 200);
  ASSERT_TRUE(Frame(CtlFire));
  ASSERT_TRUE(Frame(CtlFire));
  ASSERT_EQ(rec.Of("shot").size(), 1u);
  const int32_t shotY = G().ShotY;
  RunUntil(0, [&] { return !rec.Of("strike").empty(); });
  EXPECT_EQ(G().StageOutcome, kOutcomeNone);
  ASSERT_EQ(rec.Of("strike").size(), 1u);
  EXPECT_EQ(IntField(*rec.Of("strike")[0], "x"), 563);
  EXPECT_EQ(IntField(*rec.Of("strike")[0], "y"), shotY - 16);
  EXPECT_EQ(G().MagazineCount, 14);
}

TEST_F(SceneRunTest, TheStageSevenMissileHomesDownOntoTheCentreBuilding) {
  G().CurrentStage = 7;
  G().screen[Pic::TekiMen].Park();
  Control& missile = G().screen[Pic::TekiTama];
  missile.Move(720, 138);
  missile.Visible = true;
  Start(440, 300);
  int32_t burstLeft = -1;
  int32_t burstTop = -1;
  platform->onSleep = [&](HeadlessPlatform&) {
    if (burstLeft < 0) {
      burstLeft = missile.Left;
      burstTop = missile.Top;
    }
  };
  StageHost host = Stages(*game);
  int frames = 0;
  while (missile.Visible && frames < 300) {
    MissileStep(host);
    ++frames;
  }
  platform->onSleep = nullptr;
  EXPECT_FALSE(missile.Visible);
  EXPECT_EQ(G().MissileX, 716);
  // Level at 90 past the tower, then 4 pixels down a frame until the building's wall.
  EXPECT_GE(burstLeft, 300 - 5);
  EXPECT_LE(burstLeft, 430);
  EXPECT_GE(burstTop + missile.Height(), 281);
  EXPECT_EQ((burstTop - 90) % 4, 0);
  EXPECT_EQ(missile.Top, kParkTop);
}

}  // namespace
}  // namespace kav
