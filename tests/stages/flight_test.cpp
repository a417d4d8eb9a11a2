#include "stages/flight.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "game/game_fixture.h"
#include "game/hosts.h"
#include "game/startup.h"
#include "platform/headless/headless_joystick.h"
#include "stages/collisions.h"

namespace kav {
namespace {

struct Recorder : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override { events.push_back(e); }
};

std::string Field(const TraceEvent& e, const std::string& key) {
  for (const auto& [k, v] : e.fields) {
    if (k != key) continue;
    if (v.Is<std::string>()) return v.As<std::string>();
    if (v.Is<bool>()) return v.As<bool>() ? "true" : "false";
    if (v.Is<int64_t>()) return std::to_string(v.As<int64_t>());
  }
  return "?";
}

// One line per event of the kinds asked for, fields in order: "sound stop 7", "digits M=14".
std::vector<std::string> Lines(const Recorder& r, const std::vector<std::string>& kinds) {
  std::vector<std::string> out;
  for (const TraceEvent& e : r.events) {
    if (std::find(kinds.begin(), kinds.end(), e.kind) == kinds.end()) continue;
    std::string line = e.kind;
    for (const auto& [k, v] : e.fields) {
      if (e.kind == "digits" && k == "target") continue;
      if (e.kind == "force" && k != "op" && k != "effect") continue;
      line.append(" ").append(Field(e, k));
    }
    out.push_back(line);
  }
  return out;
}

// The started game with a haptic pad, the sprites shaped and the scene on picP; stage 1 with a
// full magazine, the helicopter at rest at (300, 200).
class FlightTest : public testing::GameFixture {
 protected:
  Recorder rec;
  std::unique_ptr<HeadlessJoystick> joystick;

  void SetUp() override {
    GameFixture::SetUp();
    platform->pad.attached = true;
    platform->pad.kind = HeadlessPad::Kind::Haptic;
    joystick = std::make_unique<HeadlessJoystick>(platform->pad);
    game->joystick = joystick.get();
    StartUpPastTheDialogs();
    game->trace = Trace(&rec);
    Game& g = *game;
    const Surface& back = g.screen[Pic::picBack].Image;
    g.CrashColours = {ColourKey(back.Pixel(400, 300)), ColourKey(back.Pixel(600, 200))};
    g.PadColour = ColourKey(back.Pixel(600, 110));
    g.CurrentStage = 1;
    g.MagazineCount = 15;
    g.Heli.X = 300;
    g.Heli.Y = 200;
  }

  Game& G() { return *game; }
  Control& Pics(int i) { return *game->Heli.Pics[static_cast<size_t>(i)]; }
  void Fly(uint8_t c, int frames = 1) {
    StageHost host = Stages(*game);
    for (int i = 0; i < frames; ++i) FlyStep(host, c);
  }
  int16_t Bullet(const GoalTests& tests = {}) {
    StageHost host = Stages(*game);
    return BulletStep(host, tests);
  }
  // Armed for a shot: the fire bit was held in the previous step.
  void Arm() {
    G().Loaded = kTrue;
    G().FireReady = kTrue;
    G().PrevControls = CtlFire;
  }
};

TEST_F(FlightTest, ANewByteOnlyRecordsItselfAndTheSameByteSteers) {
  Fly(CtlRight);
  EXPECT_EQ(G().HeliVX, 0) << "a single-frame tap changes nothing";
  EXPECT_EQ(G().Heli.X, 300);
  EXPECT_EQ(G().PrevControls, CtlRight);
  Fly(0);
  EXPECT_EQ(G().HeliVX, 0);

  Fly(CtlRight, 2);
  const double once = G().HeliVX;
  EXPECT_GT(once, 0);
  // Right with climb is another byte: recorded, not steered.
  Fly(CtlRight | CtlClimb);
  EXPECT_DOUBLE_EQ(G().HeliVX, once + 0.00005);
  EXPECT_EQ(G().HeliVY, 0);
  // The fire bit is part of the byte.
  Fly(CtlRight | CtlClimb | CtlFire);
  EXPECT_EQ(G().HeliVY, 0);
}

TEST_F(FlightTest, EveryDirectionRowAndTheBytesThatSteerNothing) {
  struct Row {
    uint8_t c;
    double dx;
    double dy;
  };
  const double side = 0.4 / 6;
  const Row rows[] = {
      {8, -side, 0},    {16, side, 0},    {2, 0, -0.2},    {4, 0, 0.4},   {10, -side, -0.2},
      {18, side, -0.2}, {12, -side, 0.4}, {20, side, 0.4}, {17, side, 0}, {3, 0, -0.2},
      {6, 0, 0},        {24, 0, 0},       {30, 0, 0},      {1, 0, 0},     {0, 0, 0},
  };
  for (const Row& r : rows) {
    G().HeliVX = 0;
    G().HeliVY = 0;
    G().PrevControls = r.c;
    G().FireReady = kFalse;
    Fly(r.c);
    // The drift pushes any non-zero speed a little further from rest.
    const double wantX = r.dx == 0 ? 0 : r.dx + (r.dx > 0 ? 0.00005 : -0.00005);
    const double wantY = r.dy == 0 ? 0 : r.dy + (r.dy > 0 ? 0.00004 : -0.00004);
    EXPECT_DOUBLE_EQ(G().HeliVX, wantX) << "byte " << int(r.c);
    EXPECT_DOUBLE_EQ(G().HeliVY, wantY) << "byte " << int(r.c);
  }
}

TEST_F(FlightTest, HeldRightClimbsToFiveAndFallsBackToThreeInASawTooth) {
  G().Heli.X = 0;
  Fly(CtlRight);  // the recording frame
  Fly(CtlRight, 20);
  EXPECT_NEAR(G().HeliVX, 20 * 0.4 / 6, 0.0011);
  EXPECT_NEAR(G().HeliVX, 1.33, 0.01);

  std::vector<int> drops;
  int frame = 20;
  double low = 10;
  double high = 0;
  while (drops.size() < 3) {
    const double before = G().HeliVX;
    Fly(CtlRight);
    ++frame;
    if (G().HeliVX < before) {
      drops.push_back(frame);
      EXPECT_EQ(G().HeliVX, 3);
    }
    if (!drops.empty()) low = std::min(low, G().HeliVX);
    high = std::max(high, G().HeliVX);
    ASSERT_LT(frame, 400);
  }
  EXPECT_EQ(drops[0], 75) << "about 75 frames from rest";
  EXPECT_EQ(drops[1] - drops[0], 30);
  EXPECT_EQ(drops[2] - drops[1], 30);
  EXPECT_EQ(low, 3);
  EXPECT_LE(high, 5);
}

TEST_F(FlightTest, ReleasedKeysKeepTheSideSpeedAndGravityIsHeldAtFive) {
  G().HeliVX = 1;
  G().Heli.Y = -200;
  StageHost host = Stages(*game);
  for (int i = 0; i < 10; ++i) {
    FlyStep(host, 0);
    ApplyGravity(host);
  }
  EXPECT_NEAR(G().HeliVX, 1.0005, 1e-12);
  EXPECT_NEAR(G().HeliVY, 1.0, 0.001);
  for (int i = 0; i < 60; ++i) {
    FlyStep(host, 0);
    ASSERT_LE(G().HeliVY, 5);
    ApplyGravity(host);
  }
  FlyStep(host, 0);
  EXPECT_EQ(G().HeliVY, 5);
  const int32_t y = G().Heli.Y;
  FlyStep(host, 0);
  EXPECT_EQ(G().Heli.Y - y, 5);
}

TEST_F(FlightTest, HalvesRoundToTheEvenNeighbourAndSlowSpeedsStandStill) {
  // A speed that is exactly one half once the drift has been added.
  double v = 0.5 - 0.00005;
  for (int i = 0; i < 8 && v + 0.00005 != 0.5; ++i) v = std::nextafter(v, v + 0.00005 < 0.5 ? 1.0 : 0.0);
  ASSERT_EQ(v + 0.00005, 0.5);
  G().Heli.X = 10;
  G().HeliVX = v;
  Fly(0);
  EXPECT_EQ(G().Heli.X, 10) << "10.5 gives 10";
  G().Heli.X = 11;
  G().HeliVX = v;
  Fly(0);
  EXPECT_EQ(G().Heli.X, 12) << "11.5 gives 12";
  G().Heli.X = 11;
  G().HeliVX = -v;
  Fly(0);
  EXPECT_EQ(G().Heli.X, 10) << "10.5 gives 10";

  G().Heli.Y = 100;
  G().HeliVX = 0;
  G().HeliVY = 0.45;
  Fly(0, 1);
  EXPECT_EQ(G().Heli.Y, 100);
}

TEST_F(FlightTest, CapsAndClampsAtEveryEdge) {
  G().HeliVX = 4.99;
  G().PrevControls = CtlRight;
  Fly(CtlRight);
  EXPECT_EQ(G().HeliVX, 3);
  EXPECT_EQ(G().Heli.X, 305) << "the step before the cap moves at the uncapped speed";
  G().HeliVX = -4.99;
  G().PrevControls = CtlLeft;
  Fly(CtlLeft);
  EXPECT_EQ(G().HeliVX, -3);
  G().HeliVY = 4.9;
  G().PrevControls = CtlDive;
  Fly(CtlDive);
  EXPECT_EQ(G().HeliVY, 5);
  G().HeliVY = -4.9;
  G().PrevControls = CtlClimb;
  Fly(CtlClimb);
  EXPECT_EQ(G().HeliVY, -5);

  // Held climb: up to 200 pixels above the top edge and no further; the speed stays.
  G().Heli.Y = -190;
  Fly(CtlClimb, 5);
  EXPECT_EQ(G().Heli.Y, -200);
  EXPECT_EQ(G().HeliVY, -5);

  G().Heli.X = 750;
  G().HeliVX = 4;
  Fly(0);
  EXPECT_EQ(G().Heli.X, 752);
  EXPECT_GT(G().HeliVX, 4);
  G().Heli.X = 2;
  G().HeliVX = -4;
  Fly(0);
  EXPECT_EQ(G().Heli.X, 0);
  G().Heli.Y = 575;
  G().HeliVY = 4;
  G().HeliVX = 0;
  Fly(0);
  EXPECT_EQ(G().Heli.Y, 600 - 23);

  // A speed set far beyond the caps still leaves the helicopter on the edge it flew at.
  G().Heli.X = 300;
  G().Heli.Y = 200;
  G().HeliVX = 1e12;
  G().HeliVY = 1e12;
  Fly(0);
  EXPECT_EQ(G().Heli.X, 800 - 48);
  EXPECT_EQ(G().Heli.Y, 600 - 23);
  EXPECT_EQ(G().HeliVX, 3);
}

TEST_F(FlightTest, HeldFireShootsOnTheSecondFrameOnceUntilRearmed) {
  ASSERT_EQ(G().ForceFeedbackReady, kTrue);
  G().Loaded = kTrue;
  G().FireReady = kTrue;
  Pics(0).Move(280, 200);  // the engine pans to the body's place, which lags a frame
  Fly(CtlFire);
  EXPECT_EQ(G().MagazineCount, 15) << "the first frame of the press only records it";
  EXPECT_FALSE(Pics(4).Visible);
  Fly(CtlFire);
  EXPECT_EQ(G().MagazineCount, 14);
  EXPECT_EQ(G().ShotX, 348);
  EXPECT_EQ(G().ShotY, 210);
  EXPECT_TRUE(Pics(4).Visible);
  EXPECT_EQ(G().FireReady, kFalse);
  EXPECT_EQ(Lines(rec, {"force", "digits", "sound", "shot"}),
            (std::vector<std::string>{"force start 3", "digits M=14", "sound stop 7", "sound pan 7 0",
                                      "sound pan 7 -240", "sound rewind 7", "sound play 7", "shot 348 210 14"}));
  EXPECT_FALSE(G().screen[Pic::TekiTama].Visible) << "only stage 7 answers with a missile";
  Fly(CtlFire, 5);
  EXPECT_EQ(G().MagazineCount, 14) << "no second shot before the rifle is ready again";
}

TEST_F(FlightTest, TheEmptyMagazineFiresOnceWithoutABulletAndEmptiesTheRifle) {
  Arm();
  G().MagazineCount = 0;
  Fly(CtlFire);
  EXPECT_EQ(G().Loaded, kFalse);
  EXPECT_EQ(G().MagazineCount, 0);
  EXPECT_TRUE(Pics(4).Visible);
  EXPECT_EQ(Lines(rec, {"digits", "shot"}), (std::vector<std::string>{"digits M=0", "shot 348 210 0"}));
  EXPECT_FALSE(BulletInFlight(Stages(*game)));
  Bullet();
  EXPECT_EQ(Pics(4).Top, kParkTop) << "the bullet does not fly";
  G().FireReady = kTrue;
  Fly(CtlFire, 3);
  EXPECT_EQ(Lines(rec, {"shot"}).size(), 1u);
}

TEST_F(FlightTest, AShotInStageSevenLaunchesTheMissile) {
  G().CurrentStage = 7;
  Arm();
  Fly(CtlFire);
  const Control& missile = G().screen[Pic::TekiTama];
  EXPECT_TRUE(missile.Visible);
  EXPECT_EQ(missile.Left, 720);
  EXPECT_EQ(missile.Top, 138);
}

TEST_F(FlightTest, AutoClimbStepsWithoutPauseAndTheBodyFollows) {
  const int64_t start = platform->Now();
  StageHost host = Stages(*game);
  AutoClimb(host, 0);
  AutoClimb(host, -3);
  EXPECT_EQ(G().PrevControls, 0);
  EXPECT_EQ(G().Heli.Y, 200);
  AutoClimb(host, 15);
  EXPECT_EQ(G().PrevControls, CtlClimb);
  // One recording step, then fourteen of -0.2 with the drift.
  EXPECT_NEAR(G().HeliVY, -14 * 0.20004, 1e-9);
  EXPECT_LT(G().Heli.Y, 200 - 15);
  EXPECT_EQ(Pics(0).Left, G().Heli.X);
  EXPECT_EQ(Pics(0).Top, G().Heli.Y);
  EXPECT_EQ(platform->Now(), start);

  // Frame picks the element that follows, rounded to even; one past the ten moves the body.
  G().Heli.Frame = 2.5f;
  AutoClimb(host, 1);
  EXPECT_EQ(Pics(2).Top, G().Heli.Y);
  EXPECT_NE(Pics(0).Top, G().Heli.Y);
  G().Heli.Frame = 9.5f;
  AutoClimb(host, 1);
  EXPECT_EQ(Pics(0).Top, G().Heli.Y);
}

TEST_F(FlightTest, RestingHoldsTheHelicopterUntilDownAlone) {
  StageHost host = Stages(*game);
  G().OnPad = kTrue;
  G().HeliVX = 0.3;
  G().HeliVY = 0.1;
  G().FireReady = kTrue;
  G().Controls = CtlClimb | CtlRight;
  RestOnPad(host);
  FlyFrame(host);
  EXPECT_EQ(G().OnPad, kTrue);
  EXPECT_EQ(G().HeliVX, 0);
  EXPECT_EQ(G().HeliVY, 0);
  EXPECT_EQ(G().FireReady, kFalse);
  EXPECT_EQ(G().Heli.Y, 200) << "no flight step while resting";

  G().Controls = CtlClimb;
  RestOnPad(host);
  EXPECT_EQ(G().OnPad, kFalse);
  EXPECT_EQ(G().FireReady, kTrue);
  EXPECT_LT(G().Heli.Y, 200);

  // Not resting: the rule leaves everything alone.
  G().HeliVY = -1;
  G().FireReady = kFalse;
  RestOnPad(host);
  EXPECT_EQ(G().HeliVY, -1);
  EXPECT_EQ(G().FireReady, kFalse);
}

TEST_F(FlightTest, TheFrameFlightMovesTheBodyPansTheEngineAndCarriesTheLadder) {
  StageHost host = Stages(*game);
  G().HeliVX = 2;
  G().Controls = 0;
  G().PrevControls = 0;
  Pics(7).Park();
  FlyFrame(host);
  EXPECT_EQ(G().Heli.X, 302);
  EXPECT_EQ(Pics(0).Left, 302);
  EXPECT_EQ(Pics(0).Top, 200);
  EXPECT_EQ(Pics(7).Top, kParkTop) << "no ladder without the hostage";
  EXPECT_EQ(Lines(rec, {"sound"}), (std::vector<std::string>{"sound pan 1 -196"}));

  Pics(6).Visible = true;
  FlyFrame(host);
  EXPECT_EQ(Pics(7).Left, 304 + 24);
  EXPECT_EQ(Pics(7).Top, 200 + 23);
}

TEST_F(FlightTest, WithoutABulletTheRearmRuleRunsAndThenTheLandingTest) {
  int landings = 0;
  GoalTests tests;
  tests.CheckLanding = [&] {
    ++landings;
    return kFalse;
  };
  G().RearmCounter = 69;
  G().FireReady = kFalse;
  EXPECT_EQ(Bullet(tests), kFalse);
  EXPECT_EQ(G().RearmCounter, 70);
  EXPECT_EQ(G().FireReady, kFalse);
  Bullet(tests);
  EXPECT_EQ(G().RearmCounter, 0);
  EXPECT_EQ(G().FireReady, kTrue);
  EXPECT_EQ(landings, 2);

  // A shown bullet without a loaded rifle is not in flight either.
  Pics(4).Visible = true;
  G().Loaded = kFalse;
  tests.CheckLanding = [&] {
    ++landings;
    return kTrue;
  };
  EXPECT_EQ(Bullet(tests), kTrue);
  EXPECT_EQ(landings, 3);
}

TEST_F(FlightTest, ALowShotStrikesTheBuildingFaceAndRunsTheStagesShotTest) {
  G().CurrentStage = 6;
  G().Heli.X = 440;
  Arm();
  Fly(CtlFire);
  ASSERT_EQ(G().ShotX, 488);
  int climbing = 0;
  int target = 0;
  GoalTests tests;
  tests.CheckTargetHit = [&] { return ++target, kFalse; };
  tests.CheckClimbingTargetHit = [&] {
    ++climbing;
    // Both burst frames show while the test runs.
    EXPECT_TRUE(Pics(2).Visible && Pics(3).Visible);
    EXPECT_EQ(Pics(3).Left, 563);
    EXPECT_EQ(Pics(3).Top, 194);
    return kFalse;
  };
  tests.CheckLanding = [] {
    ADD_FAILURE() << "no landing test while the bullet flies";
    return kFalse;
  };
  for (int k = 0; k < 18; ++k) {
    Bullet(tests);
    ASSERT_EQ(Pics(4).Left, 488 + 4 * k);
    ASSERT_EQ(Pics(4).Top, 210);
  }
  const int64_t before = platform->Now();
  EXPECT_EQ(climbing, 0);
  Bullet(tests);
  EXPECT_EQ(climbing, 1);
  EXPECT_EQ(target, 0);
  EXPECT_EQ(platform->Now() - before, 50);
  EXPECT_FALSE(Pics(4).Visible);
  EXPECT_EQ(Pics(4).Top, kParkTop);
  EXPECT_FALSE(Pics(2).Visible || Pics(3).Visible);
  EXPECT_EQ(Pics(2).Top, kParkTop);
  EXPECT_EQ(G().ShotTravel, 0);
  EXPECT_EQ(G().FireReady, kFalse) << "the re-arm counter readies the rifle later";
  EXPECT_EQ(Lines(rec, {"strike"}), (std::vector<std::string>{"strike 563 194 false"}));

  // Stage 2 has its own test; stage 7 none for a low shot; a True answer restarts the run.
  for (int stage : {2, 7}) {
    G().CurrentStage = stage;
    Arm();
    Fly(CtlFire);
    tests.CheckTargetHit = [&] { return ++target, kTrue; };
    int16_t restart = kFalse;
    for (int k = 0; k < 19; ++k) restart = Bullet(tests);
    EXPECT_FALSE(Pics(4).Visible) << "stage " << stage;
    EXPECT_EQ(restart, stage == 2 ? kTrue : kFalse);
  }
  EXPECT_EQ(target, 1);
  EXPECT_EQ(climbing, 1);
}

TEST_F(FlightTest, AHighShotPassesOverTheFaceAndLeavesTheScreen) {
  G().CurrentStage = 6;
  G().Heli.X = 440;
  G().Heli.Y = 90;  // the shot starts at row 100
  Pics(0).Move(440, 90);
  Arm();
  Fly(CtlFire);
  GoalTests tests;
  tests.CheckClimbingTargetHit = [] { return ADD_FAILURE(), kFalse; };
  int frames = 0;
  while (Pics(4).Visible && frames < 200) {
    Bullet(tests);
    ++frames;
  }
  EXPECT_EQ(frames, 80) << "moved to 488..800, then found at 800 and hidden";
  EXPECT_EQ(Pics(4).Top, kParkTop);
  EXPECT_EQ(G().FireReady, kTrue);
  EXPECT_EQ(G().ShotTravel, 4) << "the step after the exit is still counted";

  // Far right, the rifle stays unready when the bullet leaves.
  Pics(0).Move(600, 90);
  Arm();
  Fly(CtlFire);
  while (Pics(4).Visible) Bullet(tests);
  EXPECT_EQ(G().FireReady, kFalse);
}

TEST_F(FlightTest, InStageSevenAHighShotReachesTheGunnerWithinItsBand) {
  G().CurrentStage = 7;
  G().GoalLeft = 740;
  G().GoalTop = 93;
  G().Heli.X = 400;
  G().Heli.Y = 80;  // centre row 90 + 5 > 93
  Arm();
  Fly(CtlFire);
  int gunner = 0;
  GoalTests tests;
  tests.CheckGunnerHit = [&] { return ++gunner, kFalse; };
  int frames = 0;
  while (Pics(4).Visible && frames < 200) {
    Bullet(tests);
    ++frames;
  }
  EXPECT_EQ(gunner, 1);
  EXPECT_EQ(frames, 68) << "the bullet's right edge reaches column 740";
  EXPECT_EQ(G().FireReady, kTrue);
  EXPECT_EQ(G().ShotTravel, 0);
  EXPECT_FALSE(Pics(2).Visible || Pics(3).Visible);
  EXPECT_EQ(Lines(rec, {"strike"}), (std::vector<std::string>{"strike 720 90 true"}));

  // With the centre row on the gunner's top row the shot flies over.
  G().Heli.Y = 78;
  Arm();
  Fly(CtlFire);
  while (Pics(4).Visible) Bullet(tests);
  EXPECT_EQ(gunner, 1);
}

TEST_F(FlightTest, GravityOnlyWhileTheFrameHasNoOutcome) {
  StageHost host = Stages(*game);
  G().HeliVY = 0.5;
  ApplyGravity(host);
  EXPECT_DOUBLE_EQ(G().HeliVY, 0.6);
  G().StageOutcome = kOutcomeCrash;
  ApplyGravity(host);
  EXPECT_DOUBLE_EQ(G().HeliVY, 0.6);
}

}  // namespace
}  // namespace kav
