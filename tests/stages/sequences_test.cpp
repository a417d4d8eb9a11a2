#include "stages/sequences.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "base/ticks.h"
#include "game/game_fixture.h"
#include "game/hosts.h"
#include "platform/headless/headless_joystick.h"
#include "stages/collisions.h"
#include "stages/flight.h"

namespace kav {
namespace {

// "sequence ferry", "force stop 2", "sound rewind 11", each with the virtual time it came at.
struct Recorder : TraceSink {
  const HeadlessPlatform* platform = nullptr;
  std::vector<std::pair<int64_t, std::string>> lines;
  void Write(const TraceEvent& e) override {
    if (e.kind != "sequence" && e.kind != "sound" && e.kind != "force") return;
    std::string line = e.kind;
    for (const auto& [k, v] : e.fields) {
      if (e.kind == "force" && k != "op" && k != "effect") continue;
      if (v.Is<std::string>()) line.append(" ").append(v.As<std::string>());
      if (v.Is<int64_t>()) line.append(" ").append(std::to_string(v.As<int64_t>()));
    }
    lines.emplace_back(platform->Now(), line);
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(l.second);
    return out;
  }
};

// Where the helicopter (record and sprite) and the boat stood at the end of a pause.
struct Step {
  int32_t x, y, picX, picY, boatLeft, boatTop;
  bool operator==(const Step&) const = default;
};

// The started game with a haptic pad, the helicopter seated on the boat at the left dock.
class SequencesTest : public testing::GameFixture {
 protected:
  Recorder rec;
  std::unique_ptr<HeadlessJoystick> joystick;
  std::vector<Step> steps;
  int64_t start = 0;

  void SetUp() override {
    GameFixture::SetUp();
    platform->pad.attached = true;
    platform->pad.kind = HeadlessPad::Kind::Haptic;
    joystick = std::make_unique<HeadlessJoystick>(platform->pad);
    game->joystick = joystick.get();
    StartUpPastTheDialogs();
    rec.platform = platform.get();
    game->trace = Trace(&rec);
    platform->onSleep = [this](HeadlessPlatform&) {
      const HeliRecord& h = game->Heli;
      steps.push_back({h.X, h.Y, Pics(0).Left, Pics(0).Top, Boat().Left, Boat().Top});
    };
    SeatOnBoat(210, 502);
    G().PrevControls = CtlRight;
    G().HeliVX = 1.5;
    G().HeliVY = 0.5;
    start = platform->Now();
  }

  Game& G() { return *game; }
  Control& Pics(int i) { return *game->Heli.Pics[static_cast<size_t>(i)]; }
  Control& Boat() { return Pics(8); }
  void SeatOnBoat(int32_t x, int32_t y) {
    G().Heli.X = x;
    G().Heli.Y = y;
    Pics(0).Move(x, y);
    Boat().Move(210, 504);
  }
  void ExpectAtRest() {
    EXPECT_EQ(G().PrevControls, 0);
    EXPECT_EQ(G().HeliVX, 0);
    EXPECT_EQ(G().HeliVY, 0);
  }
  template <class Sequence>
  void Run(Sequence sequence) {
    StageHost host = Stages(*game);
    sequence(host);
  }
};

TEST_F(SequencesTest, StageSevenRisesSeatedOnTheBoatInTwentyOneSteps) {
  G().CurrentStage = 7;
  Run(BoatRiseSequence);
  ASSERT_EQ(steps.size(), 21u);
  EXPECT_EQ(steps.front(), (Step{227, 693, 227, 693, 210, 694}));
  EXPECT_EQ(steps[1], (Step{227, 674, 227, 674, 210, 675}));
  EXPECT_EQ(steps.back(), (Step{227, 503, 227, 503, 210, 504}));
  EXPECT_TRUE(Boat().Visible);
  EXPECT_EQ(platform->Now() - start, 21 * 80);
  ExpectAtRest();
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"sequence boat-rise", "force stop 2", "force start 2"}));
}

TEST_F(SequencesTest, StageFiveRaisesTheBoatAloneAndOtherStagesOnlyPlaceItBelow) {
  SeatOnBoat(300, 200);
  G().CurrentStage = 5;
  Run(BoatRiseSequence);
  ASSERT_EQ(steps.size(), 21u);
  EXPECT_EQ(steps.front(), (Step{300, 200, 300, 200, 210, 694}));
  EXPECT_EQ(steps.back(), (Step{300, 200, 300, 200, 210, 504}));
  ExpectAtRest();

  for (int stage : {1, 2, 3, 4, 6, 8}) {
    steps.clear();
    G().CurrentStage = stage;
    G().PrevControls = CtlLeft;
    Boat().Visible = false;
    Run(BoatRiseSequence);
    EXPECT_TRUE(steps.empty()) << "stage " << stage;
    EXPECT_EQ(Boat().Left, 210);
    EXPECT_EQ(Boat().Top, 714);
    EXPECT_TRUE(Boat().Visible);
    EXPECT_EQ(G().Heli.Y, 200);
    ExpectAtRest();
  }
}

TEST_F(SequencesTest, TheFerrySinksCrossesAndRisesAtTheRightHandPlace) {
  G().CurrentStage = 6;
  G().StageStartTick = TickAdd(platform->Ticks(), -30000);
  Run(FerrySequence);
  ASSERT_EQ(steps.size(), 43u);
  EXPECT_EQ(steps.front(), (Step{210, 502, 210, 502, 210, 504})) << "the first step moves by 0";
  EXPECT_EQ(steps[20], (Step{210, 712, 210, 712, 210, 714}));
  EXPECT_EQ(steps[21], (Step{658, 712, 210, 712, 645, 714})) << "the crossing";
  EXPECT_EQ(steps[22], (Step{658, 692, 658, 692, 645, 694}));
  EXPECT_EQ(steps.back(), (Step{658, 502, 658, 502, 645, 504}));
  ExpectAtRest();
  EXPECT_EQ(platform->Now() - start, 42 * 80 + 1000);
  EXPECT_EQ(TickDiff(platform->Ticks(), G().StageStartTick), 30000) << "the stage time goes on from 30 s";
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"sequence ferry", "force stop 2", "force start 2"}));
}

TEST_F(SequencesTest, TheFerrysCompensationSurvivesTheTickCounterWrapping) {
  // 1 s before the wrap: the trip ends on the far side of it.
  platform->SetTickBase(int64_t{INT32_MAX} - 1000 - platform->Now());
  const int32_t before = platform->Ticks();
  G().StageStartTick = TickAdd(before, -30000);
  Run(FerrySequence);
  ASSERT_LT(platform->Ticks(), 0);
  EXPECT_EQ(G().StageStartTick, TickAdd(before, -30000 + 4360));
  EXPECT_EQ(TickDiff(platform->Ticks(), G().StageStartTick), 30000);
}

TEST_F(SequencesTest, ASoftLandingOnTheBoatInStageSixFerriesOnceAndLiftsOffOnce) {
  G().CurrentStage = 6;
  G().HeliVY = 1;
  const Surface& back = G().screen[Pic::picBack].Image;
  G().CrashColours = {ColourKey(back.Pixel(400, 300)), ColourKey(back.Pixel(600, 200))};
  G().PadColour = ColourKey(back.Pixel(600, 110));
  G().screen[Pic::picP].Image.Fill(back.Pixel(50, 50));
  StageHost host = Stages(*game);
  EXPECT_EQ(CheckHeliContacts(host), kOutcomeNone);
  EXPECT_EQ(rec.Texts().front(), "sequence ferry");
  const int32_t liftedY = G().Heli.Y;
  EXPECT_EQ(G().Heli.X, 658);
  EXPECT_EQ(G().PrevControls, CtlClimb);
  // One lift-off alone from where the ferry left the helicopter.
  G().Heli.Y = 502;
  G().PrevControls = 0;
  G().HeliVY = 0;
  AutoClimb(host, 15);
  EXPECT_EQ(G().Heli.Y, liftedY);
  EXPECT_LT(liftedY, 502);
}

TEST_F(SequencesTest, TheFinaleSinksToTheBoatsSoundAndGlidesThePicture) {
  G().CurrentStage = 8;
  Run(FinaleSequence);
  ASSERT_EQ(steps.size(), 1u + 21u + 1u);
  EXPECT_EQ(steps[21], (Step{210, 712, 210, 712, 210, 714}));
  const Control& picture = G().screen[AnimePatten(kFinalePic)];
  const Control& picP = G().screen[Pic::picP];
  // 201 steps to the right; one row down after each step with j a multiple of 3, from 121.
  EXPECT_EQ(picture.Left, picP.Left + 300);
  EXPECT_EQ(picture.Top, picP.Top + 100 + 21 + 67);
  EXPECT_FALSE(picture.Visible);
  EXPECT_EQ(platform->Now() - start, 600 + 21 * 80 + 200);
  const std::vector<std::pair<int64_t, std::string>> want{
      {start, "sequence finale"},
      {start, "force stop 2"},
      {start + 600, "sound rewind 11"},
      {start + 600, "sound rewind 11"},
      {start + 600, "sound play 11"},
      {start + 600 + 21 * 80, "sound stop 11"},
      {start + 600 + 21 * 80, "sound pan 11 0"},
  };
  EXPECT_EQ(rec.lines, want);
}

TEST_F(SequencesTest, TheFinalesOwnRewindIsNotHeldBackByTheSoundSwitch) {
  G().SoundSwitch = "OFF";
  Run(FinaleSequence);
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"sequence finale", "force stop 2", "sound rewind 11"}));
}

}  // namespace
}  // namespace kav
