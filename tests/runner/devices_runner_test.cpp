#include <gtest/gtest.h>

#include <fstream>

#include "runner/runner_fixture.h"

namespace kav {
namespace {

using DevicesRunnerTest = testing::RunnerFixture;

std::string Describe(const TraceValue& e) {
  const std::string kind = testing::RunnerFixture::Kind(e);
  if (kind == "fade") return "fade " + std::to_string(testing::RunnerFixture::Field(e, "level")->As<int64_t>());
  if (kind == "sound") {
    return "sound " + testing::RunnerFixture::Field(e, "op")->As<std::string>() + " " +
           std::to_string(testing::RunnerFixture::Field(e, "slot")->As<int64_t>());
  }
  return kind;
}

TEST_F(DevicesRunnerTest, TheTitleFadesOutAndInAroundTheExplosion) {
  ASSERT_EQ(Run(PastEntry() + "until run\nquit\n"), 0) << errors;
  std::vector<std::string> seen;
  for (const TraceValue& e : events) {
    const std::string kind = Kind(e);
    if (kind == "run") break;
    if (kind == "fade" || kind == "sound") seen.push_back(Describe(e));
  }
  std::vector<std::string> want;
  for (int level = 21; level >= 1; --level) want.push_back("fade " + std::to_string(level));
  want.insert(want.end(), {"sound rewind 2", "sound play 2"});
  for (int level = 1; level <= 21; ++level) want.push_back("fade " + std::to_string(level));
  want.insert(want.end(), {"sound stop 2", "sound pan 2"});
  EXPECT_EQ(seen, want);
  // Each step pauses one frame period; the title follows the answer to the last start-up dialog.
  EXPECT_EQ(T(*Find("run")), T(*Find("answer", 1)) + 42 * 16);
}

TEST_F(DevicesRunnerTest, WhatThePadCanDoDecidesTheForceFeedbackFlags) {
  struct Case {
    const char* kind;
    bool ready;
  };
  for (const Case& c :
       {Case{"haptic", true}, Case{"haptic-noidle", true}, Case{"rumble", true}, Case{"plain", false}}) {
    Restart();
    ASSERT_EQ(Run(PastEntry() + "pad attach " + c.kind + "\nuntil wait\nstate\nquit\n"), 0) << errors;
    EXPECT_TRUE(Var("JoystickPresent")->As<bool>()) << c.kind;
    EXPECT_EQ(Var("ForceFeedbackReady")->As<bool>(), c.ready) << c.kind;
  }
  Restart();
  ASSERT_EQ(Run(PastEntry() + "until wait\npad attach haptic\nstate\nquit\n"), 0);
  EXPECT_FALSE(Var("JoystickPresent")->As<bool>()) << "a pad attached after the title is not found";
}

// What each kind of pad plays: a shot, the armed punch fired by the first button, the loss.
TEST_F(DevicesRunnerTest, ShotsTheArmedPunchAndTheLossAreFeltOnPadsThatCanPlayThem) {
  for (const char* kind : {"rumble", "haptic", "plain"}) {
    SCOPED_TRACE(kind);
    Restart();
    const std::string script = PastEntry() + "pad attach " + kind +
                               "\nuntil wait\ntap Space\nuntil clock\nframes 2\n"
                               "set Loaded=true FireReady=true\nkey Space down\nframes 2\nkey Space up\nframes 2\n"
                               "pad button 1 down\nframes 2\npad button 1 up\nframes 2\n"
                               "set Heli.Y=570\nuntil outcome\nadvance 3000\nquit\n";
    ASSERT_EQ(Run(script), 0) << errors;
    ASSERT_NE(Find("shot"), nullptr);
    std::vector<const TraceValue*> force;
    for (const TraceValue& e : events) {
      if (Kind(e) == "force") force.push_back(&e);
    }
    if (std::string(kind) == "plain") {
      EXPECT_TRUE(force.empty());
      continue;
    }
    auto find = [&](const char* op, int64_t effect) -> const TraceValue* {
      for (const TraceValue* e : force) {
        if (Field(*e, "op")->As<std::string>() == op && Field(*e, "effect")->As<int64_t>() == effect) return e;
      }
      return nullptr;
    };
    const TraceValue* shot = find("start", 3);
    ASSERT_NE(shot, nullptr);
    EXPECT_GT(Field(*shot, "felt")->As<double>(), 0.0);
    const TraceValue* jolt = find("trigger", 2);
    ASSERT_NE(jolt, nullptr);
    EXPECT_GT(Field(*jolt, "felt")->As<double>(), 0.0);
    EXPECT_LE(Field(*jolt, "ms")->As<int64_t>(), 500);
    const TraceValue* loss = find("start", 1);
    ASSERT_NE(loss, nullptr);
    EXPECT_GT(Field(*loss, "felt")->As<double>(), 0.0);
    EXPECT_NEAR(static_cast<double>(Field(*loss, "ms")->As<int64_t>()), 1000.0, 100.0);
  }
}

TEST_F(DevicesRunnerTest, TheFirstPadButtonEndsAKeyWait) {
  ASSERT_EQ(Run(PastEntry() +
                "pad attach plain\nuntil wait\nadvance 100\npad button 1 down\nuntil waited\npad button 1 up\nquit\n"),
            0)
      << errors;
  EXPECT_EQ(T(*Find("waited")), T(*Find("ready", 3)) + 1) << "seen by the next pass";
}

TEST_F(DevicesRunnerTest, WithTheSoundSwitchOffNothingIsPlayed) {
  {
    std::ofstream out(RecordFile(), std::ios::binary);
    for (int i = 0; i < 27; ++i) out << "04/22@60000\\ACE\r\n";
    out << "OFF\r\nACE\r\n 0 \r\n";
  }
  ASSERT_EQ(Run(PastEntry() + "until wait\ntap Escape\n"), 0);
  for (const TraceValue& e : events) {
    if (Kind(e) != "sound") continue;
    const std::string op = Field(e, "op")->As<std::string>();
    EXPECT_TRUE(op != "play" && op != "loop") << Describe(e);
  }
}

TEST_F(DevicesRunnerTest, TheShutdownStopsAndCentresEverySlot) {
  ASSERT_EQ(Run(PastEntry() + "until wait\ntap Escape\n"), 0);
  std::vector<std::string> tail;
  bool started = false;
  for (const TraceValue& e : events) {
    if (Kind(e) == "wait") started = true;
    if (started && Kind(e) == "sound") tail.push_back(Describe(e));
  }
  ASSERT_EQ(tail.size(), 36u) << "slots 1 to 12; slot 0 is swept but never reported";
  EXPECT_EQ(tail[0], "sound stop 1");
  EXPECT_EQ(tail[1], "sound pan 1");
  EXPECT_EQ(tail[2], "sound pan 1");
  EXPECT_EQ(tail[35], "sound pan 12");
  EXPECT_EQ(Kinds().back(), "exit") << "the end comes after the devices are let go";
}

TEST_F(DevicesRunnerTest, MissingWaveFilesLeaveTheirSlotsSilent) {
  const std::filesystem::path built = std::getenv("KAVRONA_PROGRAM_DIR");
  for (int slot = 1; slot <= 12; ++slot) {
    char name[32];
    std::snprintf(name, sizeof name, "kavrona_w%02d.wav", slot);
    if (slot != 2 && std::filesystem::exists(built / name)) std::filesystem::copy_file(built / name, dir / name);
  }
  ASSERT_EQ(Run(PastEntry() + "until wait\nstate\nquit\n"), 0);
  const auto& buffers = Var("SoundBuffers")->As<TraceValue::Array>();
  EXPECT_FALSE(buffers[0].As<bool>());
  EXPECT_FALSE(buffers[2].As<bool>()) << "kavrona_w02.wav is missing";
  EXPECT_EQ(buffers[1].As<bool>(), std::filesystem::exists(built / "kavrona_w01.wav"));
  EXPECT_TRUE(Var("SoundDevice")->As<bool>());
}

}  // namespace
}  // namespace kav
