#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "game/game.h"
#include "runner/state_codec.h"

namespace kav {
namespace {

// The number of members of an aggregate, counted by how many initialisers it takes.
struct AnyMember {
  template <class T>
  operator T() const;
};
template <class T, class... A>
constexpr size_t MemberCount() {
  if constexpr (requires { T{A{}..., AnyMember{}}; }) {
    return MemberCount<T, A..., AnyMember>();
  } else {
    return sizeof...(A);
  }
}

template <class Slice>
std::vector<std::string> NamesOf(Slice& slice) {
  std::vector<std::string> names;
  VisitVars(slice, [&](const char* name, auto&) { names.push_back(name); });
  return names;
}

// Heli.X and Heli.Y are parts of one member, Heli.
template <class Slice>
size_t MembersNamed(Slice& slice) {
  std::set<std::string> members;
  for (const std::string& n : NamesOf(slice)) members.insert(n.substr(0, n.find('.')));
  return members.size();
}

TEST(StateVarsTest, EveryMemberOfEverySliceHasItsName) {
  RunState run;
  RecordState records;
  GfxState gfx;
  DeviceState devices;
  DialogState dialog;
  FlowState flow;
  EXPECT_EQ(MembersNamed(run), MemberCount<RunState>());
  EXPECT_EQ(MembersNamed(records), MemberCount<RecordState>());
  EXPECT_EQ(MembersNamed(gfx), MemberCount<GfxState>());
  EXPECT_EQ(MembersNamed(devices), MemberCount<DeviceState>());
  EXPECT_EQ(MembersNamed(dialog), MemberCount<DialogState>());
  EXPECT_EQ(MembersNamed(flow), MemberCount<FlowState>());

  const std::vector<std::string> gfxNames = NamesOf(gfx);
  EXPECT_EQ(static_cast<size_t>(std::count_if(gfxNames.begin(), gfxNames.end(),
                                              [](const std::string& n) { return n.rfind("Heli.", 0) == 0; })),
            MemberCount<HeliRecord>());
  EffectSpec effect;
  size_t specFields = 0;
  VisitFields(effect, [&](const char*, auto&) { ++specFields; });
  EXPECT_EQ(specFields, MemberCount<EffectSpec>());
  // The register is these slices and the trace, nothing more.
  EXPECT_EQ(sizeof(GameState), sizeof(RunState) + sizeof(RecordState) + sizeof(GfxState) + sizeof(DeviceState) +
                                   sizeof(DialogState) + sizeof(FlowState) + sizeof(Trace));
}

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
