// The system menu as a player reaches it: from the first briefing by M or the menu button.
#include <gtest/gtest.h>

#include "records/time_text.h"
#include "runner/runner_fixture.h"
#include "ui/dialog_layout.h"

namespace kav {
namespace {

class MenuRunnerTest : public testing::RunnerFixture {
 protected:
  // Past start-up's dialogs to the first briefing's wait, then M: the menu is up.
  std::string ToTheMenu() const { return PastEntry() + "until wait\ntap M\n"; }
  // Types an answer into the dialog on screen and confirms it; runs to the next dialog.
  static std::string Answer(const std::string& text) { return "text " + text + "\ntap Return\nuntil dialog\n"; }

  std::vector<const TraceValue*> All(const std::string& kind) const {
    std::vector<const TraceValue*> found;
    for (const TraceValue& e : events) {
      if (Kind(e) == kind) found.push_back(&e);
    }
    return found;
  }
  // The dialogs shown after start-up's.
  std::vector<const TraceValue*> MenuDialogs() const {
    std::vector<const TraceValue*> dialogs = All("dialog");
    const size_t startUp = 2;  // a first run: the entry name and the controls notice
    dialogs.erase(dialogs.begin(), dialogs.begin() + static_cast<long>(std::min(startUp, dialogs.size())));
    return dialogs;
  }
  static std::string Str(const TraceValue* e, const char* key) { return Field(*e, key)->As<std::string>(); }
  static int64_t Int(const TraceValue* e, const char* key) { return Field(*e, key)->As<int64_t>(); }
};

TEST_F(MenuRunnerTest, MInTheFirstBriefingOpensTheMenuAndFourShowsTheRanking) {
  ASSERT_EQ(Run(ToTheMenu() + Answer("4") + "tap Return\nuntil dialog\nquit\n"), 0) << errors;
  const auto dialogs = MenuDialogs();
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(Str(dialogs[0], "text"),
            "１：サウンド = ＯＮ;２：フルスクリーンへ;３：セレクト;４：ランキング;５：操作方法;６：バージョン;"
            "------------;０：メニューの終了");
  EXPECT_EQ(Str(dialogs[0], "caption"), "メニュー");
  EXPECT_EQ(Int(dialogs[0], "width"), 200);
  EXPECT_EQ(Int(dialogs[0], "height"), 212);
  EXPECT_EQ(Str(dialogs[1], "caption"), "ランキング");
  EXPECT_EQ(SplitDialogLines(Str(dialogs[1], "text")).size(), 37u);
  EXPECT_EQ(Int(dialogs[1], "height"), 535);
  EXPECT_EQ(Str(dialogs[2], "caption"), "メニュー") << "after the ranking the menu shows again";
}

TEST_F(MenuRunnerTest, TheMenuButtonOpensItWithItsSound) {
  // The briefing window is centred, 625 x 376; the button sits in its bottom-right corner.
  ASSERT_EQ(Run(PastEntry() + "until wait\nstate\nclick 670 455\nuntil dialog\nquit\n"), 0) << errors;
  ASSERT_EQ(MenuDialogs().size(), 1u);
  EXPECT_EQ(Str(MenuDialogs()[0], "caption"), "メニュー");
  bool sounded = false;
  for (const TraceValue* e : All("sound")) {
    sounded = sounded || (Str(e, "op") == "play" && Int(e, "slot") == 10);
  }
  EXPECT_TRUE(sounded);
}

TEST_F(MenuRunnerTest, ThreeThenTwoPlaysStageTwoOnItsOwnToItsResultThenANewRun) {
  const std::string script = ToTheMenu() + Answer("3") +
                             "text 2\ntap Return\nuntil stage\nuntil wait\nexpect CurrentStage=2 StageSelectPlay=true\n"
                             // The nested briefing, then the outer set-up carrying on for stage 2.
                             "tap Space\nuntil clock 2\nframes 3\n"
                             // The pilot's sniping place of stage 2: fire held two frames, one shot clears it.
                             "set Heli.X=471 Heli.Y=321 HeliVX=0 HeliVY=0\nkey Space down\nframes 2\nkey Space up\n"
                             "until clear\nuntil wait\nstate\ntap Space\nuntil run\nuntil wait\n"
                             "expect CurrentStage=1 StageSelectPlay=false\nquit\n";
  ASSERT_EQ(Run(script), 0) << errors;

  const auto stages = All("stage");
  ASSERT_EQ(stages.size(), 3u);
  EXPECT_EQ(Int(stages[0], "stage"), 1);
  EXPECT_EQ(Int(stages[1], "stage"), 2);
  EXPECT_TRUE(Field(*stages[1], "restart")->As<bool>());
  EXPECT_EQ(Int(stages[2], "stage"), 1) << "the new run";
  EXPECT_FALSE(Field(*stages[2], "restart")->As<bool>());
  // The waits nest: the outer briefing's, the inner WaitKey, then the outer one returns.
  std::vector<std::string> waits;
  for (const TraceValue& e : events) {
    if (Kind(e) == "wait" || Kind(e) == "waited") waits.push_back(Kind(e) + " " + Str(&e, "kind"));
    if (Kind(e) == "clock") waits.push_back("clock");
    if (Kind(e) == "clear") break;
  }
  EXPECT_EQ(waits, (std::vector<std::string>{"wait WaitKeyOrMenu", "wait WaitKey", "waited WaitKey", "clock",
                                             "waited WaitKeyOrMenu", "clock"}));

  const TraceValue* clear = Find("clear");
  ASSERT_NE(clear, nullptr);
  EXPECT_TRUE(Field(*clear, "select")->As<bool>());
  // The select play's strip shows the stage time alone.
  for (const TraceValue* e : All("digits")) {
    if (Str(e, "target") == "picTim" && T(*e) > T(*Find("clock", 1)) && T(*e) < T(*clear)) {
      EXPECT_EQ(Str(e, "text").size(), 6u) << Str(e, "text");
    }
  }
  const auto messages = All("message");
  ASSERT_GE(messages.size(), 3u);
  const auto& lines = Field(*messages[2], "lines")->As<TraceValue::Array>();
  EXPECT_EQ(lines[0].As<std::string>(), "$     ｶﾌﾞﾛﾅ ｾﾝﾀｸ");
  const int64_t time = Int(clear, "time");
  const std::string best = TimeText(static_cast<int32_t>(time));
  EXPECT_EQ(lines[3].As<std::string>(), "  /BEST   : " + best) << "the new time is the best now";
  EXPECT_EQ(lines[5].As<std::string>(), " /ｲﾏﾉﾀｲﾑ  : " + best);
  EXPECT_EQ(Var("RecordTimes")->As<TraceValue::Array>()[3].As<int64_t>(), time);
}

TEST_F(MenuRunnerTest, AStageChosenInTheBriefingBlinksItsMarkerOnceAfterTheOuterWait) {
  ASSERT_EQ(Run(ToTheMenu() + Answer("3") + "text 3\ntap Return\nuntil wait\ntap Space\nuntil clock 2\nquit\n"), 0)
      << errors;
  // Marker ticks: slot 8 played between the nested wait's end, the outer wait's end and the clock.
  int phase = 0;
  std::array<int, 3> ticks{};
  int64_t outerEnd = 0;
  for (const TraceValue& e : events) {
    if (Kind(e) == "waited") {
      phase = Str(&e, "kind") == "WaitKey" ? 1 : 2;
      if (phase == 2) outerEnd = T(e);
    }
    if (phase > 0 && Kind(e) == "sound" && Str(&e, "op") == "play" && Int(&e, "slot") == 8) ++ticks[phase];
    if (Kind(e) == "clock" && phase == 2) break;
  }
  EXPECT_EQ(ticks[1], 0) << "the nested set-up neither pauses nor blinks";
  EXPECT_EQ(ticks[2], 2) << "the outer set-up blinks the chosen stage's marker";
  EXPECT_EQ(T(*Find("clock", 0)), T(*Find("waited", 0))) << "the nested clock starts as its wait ends";
  EXPECT_GE(T(*Find("clock", 1)) - outerEnd, 300 + 4 * 300);
}

TEST_F(MenuRunnerTest, OneTwiceSavesTwiceAndRestoresTheSwitch) {
  ASSERT_EQ(Run(ToTheMenu() + Answer("1") + Answer("1") + "state\nquit\n"), 0) << errors;
  const auto records = All("records");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(Var("SoundSwitch")->As<std::string>(), "ON");
  EXPECT_EQ(SplitDialogLines(Str(MenuDialogs()[1], "text"))[0], "１：サウンド = ＯＦＦ");
  EXPECT_EQ(SplitDialogLines(Str(MenuDialogs()[2], "text"))[0], "１：サウンド = ＯＮ");
}

TEST_F(MenuRunnerTest, TwoTogglesFullScreenAndTheNextMenuOffersTheWindow) {
  ASSERT_EQ(Run(ToTheMenu() + Answer("2") + "state\nquit\n"), 0) << errors;
  ASSERT_NE(Find("fullscreen"), nullptr);
  EXPECT_TRUE(Field(*Find("fullscreen"), "on")->As<bool>());
  EXPECT_EQ(Var("FullScreenOn")->As<int64_t>(), 1);
  EXPECT_EQ(SplitDialogLines(Str(MenuDialogs()[1], "text"))[1], "２：ノーマルへ");
}

TEST_F(MenuRunnerTest, EscapeClosesTheMenuAndTheBriefingGoesOn) {
  ASSERT_EQ(Run(ToTheMenu() + "tap Escape\nadvance 500\nstate\ntap Space\nuntil clock\nquit\n"), 0) << errors;
  EXPECT_EQ(Str(Find("answer", 2), "value"), "?");
  EXPECT_EQ(Find("exit"), nullptr) << "the Escape that closed the menu did not end the game";
  ASSERT_NE(Find("clock"), nullptr);
  EXPECT_EQ(Int(Find("clock"), "stage"), 1);
  EXPECT_EQ(Find("stage", 1), nullptr);
}

TEST_F(MenuRunnerTest, ReturnOnZeroClosesTheMenuWithoutStartingTheStage) {
  ASSERT_EQ(Run(ToTheMenu() + "text 0\ntap Return\nadvance 500\nquit\n"), 0) << errors;
  EXPECT_EQ(Find("clock"), nullptr) << "the Return that answered is not a second press for the briefing";
}

}  // namespace
}  // namespace kav
