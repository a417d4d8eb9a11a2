#include <gtest/gtest.h>

#include <set>

#include "game/game.h"
#include "runner/state_codec.h"

namespace kav {
namespace {

TEST(StateVarsTest, TheGamesNamesAreAllThereOnce) {
  GameState g;
  std::vector<std::string> names;
  for (const runner::StateVar& v : runner::StateVars(g)) names.push_back(v.name);
  const std::set<std::string> unique(names.begin(), names.end());
  EXPECT_EQ(unique.size(), names.size()) << "a name listed twice";
  for (const char* name :
       {"CurrentStage", "StageTimes",      "TotalTime",     "StageStartTick", "ClockRunning",    "ClockFrameCount",
        "StageOutcome", "StageSelectPlay", "Landed",        "EnemyHitsLeft",  "DevicesReady",    "Heli.Pics",
        "Heli.Frame",   "Heli.FirstPic",   "Heli.LastPic",  "Heli.X",         "Heli.Y",          "Heli.Width",
        "Heli.Height",  "HeliVX",          "HeliVY",        "PrevControls",   "OnPad",           "MagazineCount",
        "Loaded",       "FireReady",       "ShotX",         "ShotY",          "CrashColours",    "PadColour",
        "GoalLeft",     "GoalRight",       "GoalTop",       "GoalBottom",     "Controls",        "ShotTravel",
        "MissileX",     "RearmCounter",    "MainForm",      "AppDir",         "PlayerName",      "SoundSwitch",
        "FullScreenOn", "RecordDates",     "RecordTimes",   "RecordNames",    "DirectXRoot",     "SoundDevice",
        "SoundBuffers", "SoundBaseVolume", "InputRoot",     "JoystickDevice", "JoystickPresent", "ForceFeedbackReady",
        "EffectSpecs",  "EffectGuids",     "EffectObjects", "DisplayObject",  "SavedWindowRect", "GlyphRows",
        "FadeInfos",    "FadeBits",        "FadeBitmap",    "FadeDC",         "FadeOldBitmap",   "DialogAnswer"}) {
    EXPECT_TRUE(unique.count(name)) << name;
  }
}

TEST(StateVarsTest, ValuesRoundTripThroughTheirJsonForm) {
  GameState g;
  g.StageTimes[3] = 4567;
  g.OnPad = kTrue;
  g.Heli.Frame = 2.5f;
  g.StageOutcome = 6;
  g.EffectSpecs[2].Duration = -1;
  g.FadeInfos = {{0x00, 0x28, 0xFF}};
  std::vector<runner::StateVar> vars = runner::StateVars(g);

  GameState other;
  std::vector<runner::StateVar> otherVars = runner::StateVars(other);
  for (size_t i = 0; i < vars.size(); ++i) {
    if (vars[i].name == "Heli.Pics") continue;
    const TraceValue value = vars[i].get();
    EXPECT_EQ(otherVars[i].set(value), "") << vars[i].name;
    EXPECT_TRUE(runner::SameValue(otherVars[i].get(), value)) << vars[i].name;
  }
  EXPECT_EQ(other.StageTimes[3], 4567);
  EXPECT_EQ(other.OnPad, kTrue);
  EXPECT_EQ(other.Heli.Frame, 2.5f);
  EXPECT_EQ(other.EffectSpecs[2].Duration, -1);
  EXPECT_EQ(other.FadeInfos, g.FadeInfos);
}

TEST(StateVarsTest, RangesAndShapesAreChecked) {
  GameState g;
  auto var = [&](const std::string& name) {
    for (runner::StateVar& v : runner::StateVars(g)) {
      if (v.name == name) return v;
    }
    ADD_FAILURE() << name;
    return runner::StateVar{};
  };
  EXPECT_NE(var("StageOutcome").set(256), "") << "a byte";
  EXPECT_EQ(var("StageOutcome").set(255), "");
  EXPECT_NE(var("CurrentStage").set(int64_t{1} << 31), "");
  EXPECT_EQ(var("CurrentStage").set(-2147483648.0), "");
  EXPECT_NE(var("OnPad").set(40000), "");
  EXPECT_NE(var("EffectSpecs").set(TraceValue::Array{TraceValue::Object{{"Nope", 1}}, {}, {}, {}}), "");
  EXPECT_NE(var("FadeInfos").set(TraceValue::Array{"ABC"}), "") << "odd number of hex digits";
  EXPECT_EQ(g.CurrentStage, INT32_MIN);
}

}  // namespace
}  // namespace kav
