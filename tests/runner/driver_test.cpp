#include "runner/driver.h"

#include <gtest/gtest.h>

#include "base/png_io.h"
#include "runner/runner_fixture.h"

namespace kav {
namespace {

using DriverTest = testing::RunnerFixture;
using runner::kStatusBadInput;
using runner::kStatusLimit;
using runner::kStatusMismatch;
using runner::kStatusOutOfCommands;

TEST_F(DriverTest, FullScreenSwitchIsReportedAndStateListsTheRegister) {
  ASSERT_EQ(Run(PastEntry() + "until wait\ntap F4\nadvance 200\nstate\ntap Escape\n"), 0) << errors;
  const std::vector<std::string> kinds = Kinds();
  ASSERT_GE(kinds.size(), 6u);
  EXPECT_EQ(kinds.front(), "start");
  EXPECT_EQ(kinds.back(), "exit");
  EXPECT_EQ(Field(*Find("start"), "version")->As<int64_t>(), 1);
  EXPECT_EQ(T(*Find("ready", 2)), T(*Find("wait"))) << "the briefing's wait, where F4 acts";

  const TraceValue* fullscreen = Find("fullscreen");
  ASSERT_NE(fullscreen, nullptr);
  EXPECT_TRUE(Field(*fullscreen, "on")->As<bool>());
  ASSERT_NE(Find("records"), nullptr);
  EXPECT_TRUE(Field(*Find("records"), "ok")->As<bool>());

  EXPECT_EQ(Var("FullScreenOn")->As<int64_t>(), 1);
  EXPECT_EQ(Var("PlayerName")->As<std::string>(), "ORVEL");
  const auto& times = Var("RecordTimes")->As<TraceValue::Array>();
  ASSERT_EQ(times.size(), 27u);
  EXPECT_EQ(times[0].As<int64_t>(), 60000);
  EXPECT_EQ(times[2].As<int64_t>(), 80000);
  EXPECT_EQ(Var("RecordDates")->As<TraceValue::Array>()[26].As<std::string>(), "04/22");
  EXPECT_TRUE(Var("DevicesReady")->As<bool>()) << "Booleans of the game read as JSON true/false";

  bool sawPicP = false;
  for (const TraceValue& pic : Field(*Find("state"), "pics")->As<TraceValue::Array>()) {
    if (Field(pic, "name")->As<std::string>() != "picP") continue;
    sawPicP = true;
    EXPECT_EQ(Field(pic, "left")->As<int64_t>(), 0);
    EXPECT_EQ(Field(pic, "top")->As<int64_t>(), 0);
    EXPECT_EQ(Field(pic, "width")->As<int64_t>(), 800);
    EXPECT_EQ(Field(pic, "height")->As<int64_t>(), 600);
    EXPECT_TRUE(Field(pic, "visible")->As<bool>());
  }
  EXPECT_TRUE(sawPicP);
  EXPECT_EQ(Field(*Find("exit"), "status")->As<int64_t>(), 0);

  const std::string file = ReadRecordFile();
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 30);
  EXPECT_EQ(file.rfind("04/22@60000\\ORVEL\r\n", 0), 0u);
}

TEST_F(DriverTest, ExitStatusesOfTheRunner) {
  EXPECT_EQ(Run(PastEntry() + "until wait\ntap F4\nexpect FullScreenOn=0\n"), kStatusMismatch);
  const TraceValue* mismatch = Find("mismatch");
  ASSERT_NE(mismatch, nullptr);
  const auto& diffs = Field(*mismatch, "diffs")->As<TraceValue::Array>();
  ASSERT_EQ(diffs.size(), 1u);
  EXPECT_EQ(Field(diffs[0], "name")->As<std::string>(), "FullScreenOn");
  EXPECT_EQ(Field(diffs[0], "want")->As<int64_t>(), 0);
  EXPECT_EQ(Field(diffs[0], "got")->As<int64_t>(), 1);
  EXPECT_NE(errors.find("line 7"), std::string::npos) << errors;
}

TEST_F(DriverTest, CommandsRunningOutWhileTheGameWaitsEndWithFive) {
  EXPECT_EQ(Run("advance 100\n"), kStatusOutOfCommands);
  EXPECT_EQ(Kinds().back(), "ready");
  EXPECT_NE(errors.find("ran out"), std::string::npos);
}

TEST_F(DriverTest, UnknownCommandNamesItsLine) {
  EXPECT_EQ(Run("# a comment\n\nfrobnicate\n"), kStatusBadInput);
  EXPECT_NE(errors.find("line 3"), std::string::npos) << errors;
  EXPECT_NE(errors.find("frobnicate"), std::string::npos) << errors;
  EXPECT_EQ(Kinds(), std::vector<std::string>{"start"}) << "the game never started";
}

TEST_F(DriverTest, BadValuesAndNamesAreRefusedWithStatusTwo) {
  for (const char* script : {"set Nope=1\n", "set PlayerName=5\n", "set StageTimes=[1,2]\n", "set CurrentStage=1.5\n",
                             "expect OnPad=\"yes\"\n", "set Heli.Pics=[]\n", "tap Foo\n", "advance -5\n",
                             "kavrona-script 2\n", "state\nkavrona-script 1\n"}) {
    Restart();
    EXPECT_EQ(Run(script), kStatusBadInput) << script;
    EXPECT_NE(errors.find("line "), std::string::npos) << script << ": " << errors;
  }
}

TEST_F(DriverTest, RunCommandsStopAtTheirLimit) {
  EXPECT_EQ(Run("frames 1\n"), kStatusLimit) << "nothing writes frames while the game waits for a key";
  EXPECT_EQ(Kinds().back(), "limit");
  EXPECT_EQ(T(*Find("limit")), 600000);

  Restart();
  EXPECT_EQ(Run("advance 700000\n"), kStatusLimit);
  EXPECT_EQ(T(*Find("limit")), 600000);
}

TEST_F(DriverTest, AdvanceStopsExactlyAndTapHoldsForItsTime) {
  ASSERT_EQ(Run(PastEntry() + "advance 250\nadvance 0\nadvance 17\ntap Left 40\ntap Right\nquit\n"), 0);
  std::vector<int64_t> readies;
  for (const TraceValue& e : events) {
    if (Kind(e) == "ready") readies.push_back(T(e) - StartTime());
  }
  ASSERT_EQ(readies.size(), 7u) << "two start-up dialogs, then the five run commands";
  EXPECT_EQ(std::vector<int64_t>(readies.begin() + 2, readies.end()), (std::vector<int64_t>{250, 250, 267, 307, 407}));
  EXPECT_FALSE(platform->KeyDown(kVkLeft));
  EXPECT_FALSE(platform->KeyDown(kVkRight)) << "a tap ends with its key up";
}

TEST_F(DriverTest, QuitEndsAtOnceWithoutTheShutdown) {
  EXPECT_EQ(Run("advance 10\nquit\nadvance 10\n"), 0);
  EXPECT_EQ(Find("exit"), nullptr);
}

TEST_F(DriverTest, InputBetweenRunCommandsIsSeenByTheNextPoll) {
  // The key wait polls every millisecond: Space given 300 ms into it ends it there.
  ASSERT_EQ(Run(PastEntry() + "until wait\nadvance 300\nkey Space down\nuntil waited\nquit\n"), 0);
  const TraceValue* waited = Find("waited");
  ASSERT_NE(waited, nullptr);
  // One more pass of 1 ms; the briefing's wait has no closing pause.
  EXPECT_EQ(T(*waited), T(*Find("wait")) + 301);
}

TEST_F(DriverTest, UntilCountsEventsAndStopsAtTheNextSleep) {
  ASSERT_EQ(
      Run(PastEntry() + "until wait\nadvance 50\nkey F4 down\nuntil records\nstate\nkey F4 up\nadvance 50\ntap F4 10\n"
                        "state\nquit\n"),
      0);
  const std::vector<std::string> kinds = Kinds();
  const auto firstRecords = std::find(kinds.begin(), kinds.end(), "records");
  ASSERT_NE(firstRecords, kinds.end());
  EXPECT_EQ(*(firstRecords + 1), "ready") << "the run stops at the game's next sleep after the event";
  EXPECT_EQ(T(*Find("ready", 4)), T(*Find("ready", 3))) << "that sleep comes before virtual time moves on";
  EXPECT_EQ(Var("FullScreenOn")->As<int64_t>(), 1);
  EXPECT_EQ(Field(*Field(*Find("state", 1), "vars"), "FullScreenOn")->As<int64_t>(), 0);
  EXPECT_EQ(ReadRecordFile().substr(ReadRecordFile().size() - 5), " 0 \r\n");
}

TEST_F(DriverTest, TicksWrapLikeTheRealCounter) {
  platform->SetTickBase(2147483600);
  ASSERT_EQ(Run(PastEntry() + "advance 40\nadvance 60\nquit\n"), 0);
  const int64_t start = StartTime();
  ASSERT_LT(start, 2147483647 - 40) << "start-up took long enough to spoil the test";
  EXPECT_EQ(T(*Find("ready", 2)), start + 40);
  EXPECT_EQ(T(*Find("ready", 3)), start + 100 - 4294967296);
}

TEST_F(DriverTest, SetAndExpectValueForms) {
  ASSERT_EQ(Run(PastEntry() +
                "advance 10\n"
                "set PlayerName=ABC StageTimes=[0,1200,0,0,0,0,0,0,0] OnPad=true HeliVX=0.1 Heli.X=120 Heli.Y=80\n"
                "set CrashColours=[\"FF\", \"a b\"] SavedWindowRect=[1,2,3,4]\n"
                "expect PlayerName=\"ABC\" PlayerName=ABC StageTimes=[0, 1200, 0, 0, 0, 0, 0, 0, 0]\n"
                "expect OnPad=-1 OnPad=true HeliVX=0.1000000000001 Heli.X=120.0\n"
                "expect CrashColours=[\"FF\",\"a b\"] SavedWindowRect=[1,2,3,4] Heli.Pics=[true,true,true,true,true,"
                "true,true,true,true,true]\n"
                "state\nquit\n"),
            0)
      << errors;
  EXPECT_EQ(Var("HeliVX")->Number(), 0.1);
  for (const TraceValue& pic : Field(*Find("state"), "pics")->As<TraceValue::Array>()) {
    if (Field(pic, "name")->As<std::string>() != "picAnimePatten(0)") continue;
    EXPECT_EQ(Field(pic, "left")->As<int64_t>(), 120) << "Heli.X moves the sprite too";
    EXPECT_EQ(Field(pic, "top")->As<int64_t>(), 80);
  }
  Restart();
  ASSERT_EQ(Run(PastEntry() +
                "advance 10\nset Heli.FirstPic=-1 Heli.X=5\nset Heli.FirstPic=100000000 Heli.Y=6\nstate\nquit\n"),
            0)
      << "a body index out of range moves the body sprite, nothing else";
  Restart();
  EXPECT_EQ(Run(PastEntry() + "advance 10\nset HeliVX=0.1\nexpect HeliVX=0.10001\n"), kStatusMismatch);
  Restart();
  EXPECT_EQ(Run(PastEntry() + "advance 10\nexpect PlayerName=orvel\n"), kStatusMismatch) << "strings compare exactly";
}

TEST_F(DriverTest, PixelReportsPicPAndShotSavesWhatThePlayerSees) {
  const std::string shot = (dir / "shot.png").string();
  ASSERT_EQ(Run(PastEntry() + "until wait\npixel 400 300\npixel 0 599\nshot " + shot + "\nquit\n"), 0) << errors;
  const Surface& back = game->screen[Pic::picBack].Image;
  char want[8];
  std::snprintf(want, sizeof want, "%06X", back.Pixel(400, 300));
  EXPECT_EQ(Field(*Find("pixel"), "rgb")->As<std::string>(), want);
  EXPECT_EQ(Field(*Find("pixel", 1), "y")->As<int64_t>(), 599);
  std::optional<PngImage> png = ReadPng(shot);
  ASSERT_TRUE(png);
  EXPECT_EQ(png->pixels, platform->LastFrame()) << "the shot is the frame shown last";
  EXPECT_EQ(png->pixels[0], back.Pixel(0, 0)) << "around the briefing the player sees the backdrop";
}

TEST_F(DriverTest, InputCommandsReachThePlatform) {
  // Given after start-up, whose event step would take the queued events.
  ASSERT_EQ(Run(PastEntry() +
                "advance 10\npad attach rumble\npad axis x -32768\npad axis y 32767\npad button 2 down\n"
                "key LeftShift down\nkey Tab down\ntext ａｂ c\ncompose かな\nclick 10 20\nfocus lost\nfocus gained\n"
                "close dialog\nquit\n"),
            0)
      << errors;
  EXPECT_TRUE(platform->pad.attached);
  EXPECT_EQ(platform->pad.kind, HeadlessPad::Kind::Rumble);
  EXPECT_EQ(platform->pad.axisX, -32768);
  EXPECT_EQ(platform->pad.axisY, 32767);
  EXPECT_TRUE(platform->pad.button2);
  EXPECT_FALSE(platform->pad.button1);

  // Nothing has taken the queued events yet: the key wait runs no events.
  const std::vector<PlatformEvent> queued = platform->PollEvents();
  ASSERT_EQ(queued.size(), 7u);
  EXPECT_EQ(queued[0].kind, PlatformEvent::Kind::KeyPressed);
  EXPECT_EQ(queued[0].vk, kVkShift);
  EXPECT_EQ(queued[1].vk, kVkTab);
  EXPECT_EQ(queued[1].mods, kModShift) << "a key press carries the modifiers held with it";
  EXPECT_EQ(queued[2].text, "ａｂ c");
  EXPECT_EQ(queued[3].kind, PlatformEvent::Kind::TextEditing);
  EXPECT_EQ(queued[3].text, "かな");
  EXPECT_EQ(queued[4].x, 10);
  EXPECT_EQ(queued[4].y, 20);
  EXPECT_EQ(queued[5].kind, PlatformEvent::Kind::FocusLost);
  EXPECT_EQ(queued[6].kind, PlatformEvent::Kind::FocusGained);
}

TEST_F(DriverTest, CloseDialogWaitsForADialogToAppear) {
  ASSERT_EQ(Run(PastEntry() + "until wait\nclose dialog\nadvance 10\nquit\n"), 0);
  for (const PlatformEvent& e : platform->PollEvents()) EXPECT_NE(e.kind, PlatformEvent::Kind::DialogClose);
  game->trace.Emit("dialog");
  const std::vector<PlatformEvent> queued = platform->PollEvents();
  ASSERT_EQ(queued.size(), 1u);
  EXPECT_EQ(queued[0].kind, PlatformEvent::Kind::DialogClose);
}

TEST_F(DriverTest, ClosingTheWindowEndsTheGame) {
  EXPECT_EQ(Run(PastEntry() + "until wait\nadvance 20\nclose\nadvance 20\n"), 0);
  EXPECT_EQ(Kinds().back(), "exit");
}

}  // namespace
}  // namespace kav
