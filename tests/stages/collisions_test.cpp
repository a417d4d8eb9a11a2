#include "stages/collisions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/game_fixture.h"
#include "game/hosts.h"
#include "game/startup.h"
#include "stages/flight.h"

namespace kav {
namespace {

struct Recorder : TraceSink {
  std::vector<TraceEvent> events;
  void Write(const TraceEvent& e) override { events.push_back(e); }
  // "digits M=12", "sound play 8", "contact 5": the kinds asked for, with their fields.
  std::vector<std::string> Lines(const std::vector<std::string>& kinds) const {
    std::vector<std::string> out;
    for (const TraceEvent& e : events) {
      if (std::find(kinds.begin(), kinds.end(), e.kind) == kinds.end()) continue;
      std::string line = e.kind;
      for (const auto& [k, v] : e.fields) {
        if (k == "target") continue;
        if (v.Is<std::string>()) line.append(" ").append(v.As<std::string>());
        if (v.Is<int64_t>()) line.append(" ").append(std::to_string(v.As<int64_t>()));
      }
      out.push_back(line);
    }
    return out;
  }
};

// The started game over a picP of plain sky, the colour keys taken from the generated scene;
// the test paints the solid and pad pixels it needs. The helicopter is at (300, 200).
class CollisionsTest : public testing::GameFixture {
 protected:
  Recorder rec;
  uint32_t sky = 0;
  uint32_t solidA = 0;
  uint32_t solidB = 0;
  uint32_t pad = 0;

  void SetUp() override {
    GameFixture::SetUp();
    StartUpPastTheDialogs();
    game->trace = Trace(&rec);
    Game& g = *game;
    const Surface& back = g.screen[Pic::picBack].Image;
    sky = back.Pixel(50, 50);
    solidA = back.Pixel(400, 300);
    solidB = back.Pixel(600, 200);
    pad = back.Pixel(600, 110);
    g.CrashColours = {ColourKey(solidA), ColourKey(solidB)};
    g.PadColour = ColourKey(pad);
    PicP().Fill(sky);
    g.CurrentStage = 1;
    g.MagazineCount = 15;
    Place(300, 200);
  }

  Game& G() { return *game; }
  Surface& PicP() { return game->screen[Pic::picP].Image; }
  Control& Pics(int i) { return *game->Heli.Pics[static_cast<size_t>(i)]; }
  void Place(int32_t x, int32_t y) {
    G().Heli.X = x;
    G().Heli.Y = y;
  }
  uint8_t Contacts() {
    StageHost host = Stages(*game);
    return CheckHeliContacts(host);
  }
  // A pad row under the helicopter's bottom corner and bottom centre.
  void PadUnder() {
    const int32_t row = G().Heli.Y + G().Heli.Height;
    PicP().FillRect(G().Heli.X, row, G().Heli.Width + 1, 1, pad);
  }
};

TEST_F(CollisionsTest, ColourKeysAreTheWindowSystemsValueInHexWithoutLeadingZeros) {
  EXPECT_EQ(ColourKey(0x123456), "563412");
  EXPECT_EQ(ColourKey(0x0000FF), "FF0000");
  EXPECT_EQ(ColourKey(0x010000), "1");
  EXPECT_EQ(ColourKey(0x000A00), "A00");
  EXPECT_EQ(ColourKey(0), "0");
  EXPECT_NE(G().PadColour, G().CrashColours[0]);
  EXPECT_NE(G().PadColour, G().CrashColours[1]);
}

TEST_F(CollisionsTest, EachOfTheSixOutlinePointsCrashesAndTheBottomCentreDoesNot) {
  // (300, 200), 48 x 23: the mid-side row 211.5 goes to the even 212.
  const int points[7][2] = {{300, 200}, {348, 200}, {300, 212}, {348, 212}, {300, 223}, {348, 223}, {320, 223}};
  for (int i = 0; i < 7; ++i) {
    for (uint32_t solid : {solidA, solidB}) {
      PicP().Fill(sky);
      PicP().SetPixel(points[i][0], points[i][1], solid);
      EXPECT_EQ(Contacts(), i < 6 ? kOutcomeCrash : kOutcomeNone) << "point " << i;
    }
  }
  // Neighbours of the points are not read.
  PicP().Fill(sky);
  for (auto [x, y] : {std::pair{299, 200}, {349, 200}, {300, 199}, {300, 211}, {300, 213}, {348, 224}, {301, 223}}) {
    PicP().SetPixel(x, y, solidA);
  }
  EXPECT_EQ(Contacts(), kOutcomeNone);
  EXPECT_EQ(rec.Lines({"contact"}), (std::vector<std::string>(12, "contact 2")));

  // One row lower the mid-side row 212.5 goes down to the even 212.
  PicP().Fill(sky);
  Place(300, 201);
  PicP().SetPixel(300, 213, solidA);
  EXPECT_EQ(Contacts(), kOutcomeNone);
  PicP().SetPixel(348, 212, solidB);
  EXPECT_EQ(Contacts(), kOutcomeCrash);
}

TEST_F(CollisionsTest, PointsOutsideTheSurfaceMatchNothing) {
  PicP().Fill(solidA);
  Place(300, -30);  // every point above the top edge
  EXPECT_EQ(Contacts(), kOutcomeNone);
  Place(300, -23);  // the bottom row is row 0
  EXPECT_EQ(Contacts(), kOutcomeCrash);
  // The right-hand points of a helicopter at the right edge lie in column 800.
  PicP().Fill(sky);
  PicP().FillRect(799, 0, 1, 600, solidA);
  Place(752, 300);
  EXPECT_EQ(Contacts(), kOutcomeNone);
}

TEST_F(CollisionsTest, ACrashBeatsTheLandingAndBothBottomPointsMustBeOnThePad) {
  PadUnder();
  PicP().SetPixel(300, 200, solidA);
  G().HeliVY = 1;
  EXPECT_EQ(Contacts(), kOutcomeCrash);
  EXPECT_EQ(G().OnPad, kFalse);
  EXPECT_TRUE(rec.Lines({"sound"}).empty()) << "nothing else is tested";

  PicP().Fill(sky);
  PicP().SetPixel(348, 223, pad);
  EXPECT_EQ(Contacts(), kOutcomeNone);
  EXPECT_EQ(G().OnPad, kFalse);
  PicP().Fill(sky);
  PicP().SetPixel(320, 223, pad);
  EXPECT_EQ(Contacts(), kOutcomeNone);
  EXPECT_EQ(G().OnPad, kFalse);
  PicP().SetPixel(348, 223, pad);
  EXPECT_EQ(Contacts(), kOutcomeNone);
  EXPECT_EQ(G().OnPad, kTrue);
}

TEST_F(CollisionsTest, TwoAndAHalfIsSoftAndTwoPointFiftyOneIsHard) {
  PadUnder();
  G().HeliVY = 2.5;
  const int64_t start = platform->Now();
  EXPECT_EQ(Contacts(), kOutcomeNone);
  EXPECT_EQ(G().OnPad, kTrue);
  EXPECT_EQ(platform->Now() - start, 250);
  EXPECT_EQ(rec.Lines({"sound", "digits", "contact"}),
            (std::vector<std::string>{"sound rewind 12", "sound play 12", "sound stop 12", "sound pan 12 0"}));
  EXPECT_EQ(G().MagazineCount, 15);

  rec.events.clear();
  G().OnPad = kFalse;
  G().HeliVY = 2.51;
  EXPECT_EQ(Contacts(), kOutcomeHardLanding);
  EXPECT_EQ(G().OnPad, kFalse);
  EXPECT_EQ(rec.Lines({"sound", "contact"}),
            (std::vector<std::string>{"sound stop 12", "sound pan 12 0", "contact 5"}));
}

TEST_F(CollisionsTest, TheTopRightPadResuppliesFromTwelveWithFourTicks) {
  Place(700, 85);
  PadUnder();
  G().MagazineCount = 12;
  G().HeliVY = 0.5;
  const int64_t start = platform->Now();
  EXPECT_EQ(Contacts(), kOutcomeNone);
  EXPECT_EQ(G().MagazineCount, 15);
  EXPECT_EQ(G().OnPad, kTrue);
  EXPECT_EQ(platform->Now() - start, 4 * 100 + 250);
  std::vector<std::string> want;
  for (int n = 12; n <= 15; ++n) {
    for (const char* line : {"sound stop 8", "sound pan 8 0", "sound rewind 8", "sound play 8"}) {
      if (line == std::string("sound stop 8")) want.push_back(std::string("digits M=").append(std::to_string(n)));
      want.push_back(line);
    }
  }
  for (const char* line :
       {"sound stop 8", "sound pan 8 0", "sound rewind 12", "sound play 12", "sound stop 12", "sound pan 12 0"}) {
    want.push_back(line);
  }
  EXPECT_EQ(rec.Lines({"sound", "digits"}), want);
}

TEST_F(CollisionsTest, AFullMagazineStillTicksOnceAndOnlyTheCornerResupplies) {
  Place(700, 85);
  PadUnder();
  EXPECT_EQ(Contacts(), kOutcomeNone);
  EXPECT_EQ(rec.Lines({"digits"}), (std::vector<std::string>{"digits M=15"}));

  // Resting never loads a rifle that the stage keeps empty.
  G().Loaded = kFalse;
  for (auto [x, y] : {std::pair{640, 85}, {700, 150}}) {
    rec.events.clear();
    PicP().Fill(sky);
    Place(x, y);
    PadUnder();
    G().MagazineCount = 3;
    EXPECT_EQ(Contacts(), kOutcomeNone);
    EXPECT_EQ(G().MagazineCount, 3);
    EXPECT_TRUE(rec.Lines({"digits"}).empty());
  }
  EXPECT_EQ(G().Loaded, kFalse);
}

TEST_F(CollisionsTest, StageSixBoatFerriesBetweenItsEdges) {
  G().CurrentStage = 6;
  int ferries = 0;
  for (auto [x, ferried] : {std::pair{210, true}, {255, true}, {209, false}, {256, false}}) {
    ferries = 0;
    Place(x, 502);  // bottom row 525, cx = X + 20
    G().HeliVY = 2.5;
    G().PrevControls = 0;
    StageHost host = Stages(*game);
    host.ferry = [&] {
      ++ferries;
      EXPECT_EQ(G().PrevControls, 0) << "the lift-off follows the ferry";
    };
    EXPECT_EQ(CheckHeliContacts(host), kOutcomeNone);
    EXPECT_EQ(ferries, ferried ? 1 : 0) << "cx " << x + 20;
    EXPECT_EQ(G().PrevControls, ferried ? CtlClimb : 0);
    EXPECT_EQ(G().OnPad, kFalse);
  }
  // Too fast over the boat, or above the deck line.
  Place(210, 502);
  G().HeliVY = 2.51;
  StageHost host = Stages(*game);
  host.ferry = [&] { ++ferries; };
  ferries = 0;
  EXPECT_EQ(CheckHeliContacts(host), kOutcomeHardLanding);
  Place(210, 501);
  EXPECT_EQ(CheckHeliContacts(host), kOutcomeNone);
  EXPECT_EQ(ferries, 0);
}

TEST_F(CollisionsTest, TheRightLandingPlaceAndStageSevensBoatRest) {
  struct Case {
    int stage;
    int32_t x;
    bool rests;
  };
  for (const Case& c :
       {Case{6, 635, true}, Case{6, 690, true}, Case{6, 634, false}, Case{6, 691, false}, Case{7, 210, true},
        Case{7, 255, true}, Case{7, 209, false}, Case{7, 660, true}, Case{5, 210, false}, Case{8, 660, false}}) {
    G().CurrentStage = c.stage;
    G().OnPad = kFalse;
    G().PrevControls = CtlRight;
    G().HeliVX = 1;
    G().HeliVY = 2;
    Place(c.x, 510);
    StageHost host = Stages(*game);
    host.ferry = [] { ADD_FAILURE() << "no ferry here"; };
    EXPECT_EQ(CheckHeliContacts(host), kOutcomeNone);
    EXPECT_EQ(G().OnPad == kTrue, c.rests) << "stage " << c.stage << " x " << c.x;
    EXPECT_EQ(G().PrevControls, c.rests ? 0 : CtlRight);
    EXPECT_EQ(G().HeliVY, c.rests ? 0 : 2);
  }
  G().CurrentStage = 7;
  G().HeliVY = 3;
  EXPECT_EQ(Contacts(), kOutcomeHardLanding);
}

class MissileBoxTest : public CollisionsTest {
 protected:
  // The missile at (400, 300), 22 x 8: its box is 400..417 across and 303..305 down.
  void SetUp() override {
    CollisionsTest::SetUp();
    G().CurrentStage = 7;
    Missile().Move(400, 300);
    Missile().Visible = true;
    G().screen[Pic::TekiMen].Park();
  }
  Control& Missile() { return G().screen[Pic::TekiTama]; }
  uint8_t At(int32_t x, int32_t y) {
    Missile().Visible = true;
    Place(x, y);
    return Contacts();
  }
};

TEST_F(MissileBoxTest, TestARightEdgeInsideDownToTheBoxBottom) {
  EXPECT_EQ(At(360, 290), kOutcomeMissileHit);
  EXPECT_FALSE(Missile().Visible);
  EXPECT_EQ(At(360, 305), kOutcomeMissileHit);
  EXPECT_EQ(At(360, 306), kOutcomeNone);
  EXPECT_EQ(At(360, 279), kOutcomeNone);
  EXPECT_EQ(At(369, 290), kOutcomeNone) << "X + W = 417 is not left of the right end";
}

TEST_F(MissileBoxTest, TestBComparesTheTopWithTheBoxTop) {
  EXPECT_EQ(At(405, 303), kOutcomeMissileHit);
  EXPECT_EQ(At(405, 280), kOutcomeMissileHit);
  // The top between the box's top and bottom is no hit.
  EXPECT_EQ(At(405, 304), kOutcomeNone);
  EXPECT_EQ(At(405, 305), kOutcomeNone);
  EXPECT_EQ(At(400, 300), kOutcomeNone) << "X = left is not inside";
}

TEST_F(MissileBoxTest, TestCTheBoxWithinTheSpanAboveTheBoxBottom) {
  EXPECT_EQ(At(380, 304), kOutcomeMissileHit);
  EXPECT_EQ(At(380, 305), kOutcomeNone) << "test c wants the top above the bottom";
  EXPECT_EQ(At(380, 279), kOutcomeNone);
}

TEST_F(MissileBoxTest, AHiddenMissileStillHitsAndLaterResultsOverwrite) {
  Missile().Visible = false;
  Place(360, 290);
  EXPECT_EQ(Contacts(), kOutcomeMissileHit);
  // A hit followed by a hard landing is a hard landing.
  PadUnder();
  G().HeliVY = 3;
  EXPECT_EQ(Contacts(), kOutcomeHardLanding);
  G().CurrentStage = 6;
  G().HeliVY = 0;
  PicP().Fill(sky);
  EXPECT_EQ(Contacts(), kOutcomeNone) << "the missile only counts in stage 7";
}

TEST_F(MissileBoxTest, TheGunnerIsRammedFromAnywhereBelowItsTopAndTheRamWins) {
  Control& gunner = G().screen[Pic::TekiMen];
  gunner.Move(740, 95);  // 740..756 across, from row 95 down
  gunner.Visible = true;
  Missile().Park();
  for (auto [x, y, hit] : {std::tuple{700, 72, true},
                           {700, 71, false},
                           {700, 400, true},
                           {745, 300, true},
                           {720, 300, true},
                           {708, 300, false},
                           {756, 300, false}}) {
    gunner.Visible = true;
    Place(x, y);
    EXPECT_EQ(Contacts(), hit ? kOutcomeRammedCulprit : kOutcomeNone) << x << "," << y;
    EXPECT_EQ(gunner.Visible, !hit);
  }
  // Missile and gunner in one frame: the ram is reported.
  Missile().Move(730, 90);  // test c of the missile
  Missile().Visible = true;
  Place(700, 80);
  EXPECT_EQ(Contacts(), kOutcomeRammedCulprit);
  EXPECT_FALSE(Missile().Visible);
}

TEST_F(CollisionsTest, TheHostageInStageFourAndOnlyThere) {
  Control& hostage = Pics(6);
  hostage.Move(600, 99);  // 600..608 across, from row 99 down
  hostage.Visible = true;
  G().CurrentStage = 4;
  for (auto [x, hit] : {std::pair{580, true}, {555, true}, {603, true}, {560, false}, {600, false}}) {
    hostage.Visible = true;
    Place(x, 80);
    EXPECT_EQ(Contacts(), hit ? kOutcomeHostageHit : kOutcomeNone) << x;
    EXPECT_EQ(hostage.Visible, !hit);
  }
  Place(580, 75);  // bottom row 98
  EXPECT_EQ(Contacts(), kOutcomeNone);
  G().CurrentStage = 3;
  Place(580, 80);
  EXPECT_EQ(Contacts(), kOutcomeNone);
  // A hostage hit followed by a hard landing is a hard landing.
  G().CurrentStage = 4;
  PadUnder();
  G().HeliVY = 2.6;
  EXPECT_EQ(Contacts(), kOutcomeHardLanding);
}

TEST_F(CollisionsTest, ARepeatedCallGivesTheSameCodeAndRepeatsTheLanding) {
  PadUnder();
  G().HeliVY = 4;
  EXPECT_EQ(Contacts(), kOutcomeHardLanding);
  EXPECT_EQ(Contacts(), kOutcomeHardLanding);
  EXPECT_EQ(rec.Lines({"contact"}), (std::vector<std::string>{"contact 5", "contact 5"}));
  rec.events.clear();
  Place(700, 85);
  PadUnder();
  G().HeliVY = 0;
  G().MagazineCount = 14;
  Contacts();
  Contacts();
  EXPECT_EQ(rec.Lines({"digits"}), (std::vector<std::string>{"digits M=14", "digits M=15", "digits M=15"}));
}

class MissileStepTest : public CollisionsTest {
 protected:
  void SetUp() override {
    CollisionsTest::SetUp();
    G().CurrentStage = 7;
    G().MissileX = 720;
    Missile().Move(720, 138);
    Missile().Visible = true;
  }
  Control& Missile() { return G().screen[Pic::TekiTama]; }
  void Step(int frames = 1) {
    StageHost host = Stages(*game);
    for (int i = 0; i < frames; ++i) MissileStep(host);
  }
};

TEST_F(MissileStepTest, FliesLevelThenHomesFourPixelsAFrame) {
  Place(440, 300);  // homing level 300 + 24
  Step();
  EXPECT_EQ(Missile().Left, 720);
  EXPECT_EQ(Missile().Top, 90);
  EXPECT_EQ(G().MissileX, 716);
  Step(47);  // down to the counter 532
  EXPECT_EQ(Missile().Left, 532);
  EXPECT_EQ(Missile().Top, 90);
  Step();
  EXPECT_EQ(Missile().Left, 528);
  EXPECT_EQ(Missile().Top, 94) << "below 530 it descends toward the helicopter";
  Step(5);
  EXPECT_EQ(Missile().Top, 114);

  // Level with half the helicopter's width, or above it, the missile goes up.
  Place(440, 114 - 24);
  Step();
  EXPECT_EQ(Missile().Top, 110);
  Place(440, 0);
  Step();
  EXPECT_EQ(Missile().Top, 106);
  // The homing level is the helicopter's top plus half its width, 24, not half its height.
  Place(440, 90);
  Step();
  EXPECT_EQ(Missile().Top, 110);
}

TEST_F(MissileStepTest, EscapesAtTheLeftEdgeAndWaitsHidden) {
  Place(440, 90 - 24 + 4);
  G().MissileX = 4;
  Step();
  EXPECT_EQ(G().MissileX, 0);
  EXPECT_TRUE(Missile().Visible);
  Step();
  EXPECT_EQ(G().MissileX, 720);
  EXPECT_FALSE(Missile().Visible);
  EXPECT_EQ(Missile().Top, kParkTop);
  Step();
  EXPECT_EQ(G().MissileX, 720) << "a hidden missile does not move";
  G().CurrentStage = 6;
  Missile().Visible = true;
  Step();
  EXPECT_EQ(G().MissileX, 720) << "nor does one outside stage 7";
}

TEST_F(MissileStepTest, BurstsOnTheFirstCrashPixelUnderItsFirstSixColumns) {
  Place(440, 300);
  G().MissileX = 600;
  PicP().SetPixel(606, 98, solidA);
  Step();
  EXPECT_TRUE(Missile().Visible) << "column Left + 6 is not read";
  EXPECT_EQ(G().MissileX, 596);

  std::vector<std::string> seen;
  platform->onSleep = [&](HeadlessPlatform& p) {
    for (int i : {2, 3}) {
      const Control& b = Pics(i);
      if (b.Visible) seen.push_back(std::to_string(i) + "@" + std::to_string(b.Left) + "," + std::to_string(b.Top));
    }
    seen.push_back(std::string("t").append(std::to_string(p.Now())));
  };
  const int64_t start = platform->Now();
  PicP().SetPixel(601, 98, solidB);
  Step();
  platform->onSleep = nullptr;
  EXPECT_EQ(seen, (std::vector<std::string>{"2@583,80", std::string("t").append(std::to_string(start + 50)), "3@586,75",
                                            std::string("t").append(std::to_string(start + 100))}));
  EXPECT_FALSE(Missile().Visible);
  EXPECT_EQ(Missile().Top, kParkTop);
  EXPECT_EQ(Missile().Left, 0);
  EXPECT_EQ(Pics(2).Top, kParkTop);
  EXPECT_EQ(Pics(3).Top, kParkTop);
  EXPECT_FALSE(Pics(2).Visible || Pics(3).Visible);
  EXPECT_EQ(G().MissileX, 716) << "the travel step still counts after the reset to 720";
}

}  // namespace
}  // namespace kav
