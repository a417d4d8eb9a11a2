#include "game/system_menu.h"

#include <gtest/gtest.h>

#include <deque>

#include "base/boolean.h"
#include "game/game_fixture.h"
#include "support/trace_recorder.h"
#include "ui/dialog_layout.h"

namespace kav {
namespace {

constexpr const char* kCloseBox = "<close box>";
constexpr const char* kJustReturn = "<return>";

// Every event; each dialog is answered with the next answer of the queue, each key wait
// with a tap of Space.
struct AnsweringRecorder : testing::TraceRecorder {
  HeadlessPlatform* platform = nullptr;
  std::deque<std::string> answers;
  void Write(const TraceEvent& e) override {
    TraceRecorder::Write(e);
    if (e.kind == "wait") platform->PressKeyAt(kVkSpace, platform->Now() + 5);
    if (e.kind != "dialog") return;
    if (answers.empty()) throw std::runtime_error("a dialog nobody expected: " + Text(e, "text"));
    const std::string answer = answers.front();
    answers.pop_front();
    const int64_t at = platform->Now() + 5;
    if (answer == kCloseBox) {
      platform->QueueEventAt(at, PlatformEvent::CloseDialog());
      return;
    }
    if (answer != kJustReturn) platform->QueueEventAt(at, PlatformEvent::Text(answer));
    platform->QueueEventAt(at + 1, PlatformEvent::Key(kVkReturn));
  }
  static std::string Text(const TraceEvent& e, const char* key) { return Field(e, key)->As<std::string>(); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (const TraceEvent* e : Of("dialog")) out.push_back(Text(*e, "caption"));
    return out;
  }
};

class SystemMenuTest : public testing::GameFixture {
 protected:
  AnsweringRecorder rec;

  void SetUp() override {
    GameFixture::SetUp();
    StartUpPastTheDialogs();
    platform->onSleep = nullptr;  // from here on the recorder answers
    rec.platform = platform.get();
    game->trace = Trace(&rec);
  }
  int16_t Menu(std::initializer_list<const char*> answers) {
    for (const char* a : answers) rec.answers.emplace_back(a);
    const int16_t result = ShowSystemMenu(*game);
    EXPECT_TRUE(rec.answers.empty()) << rec.answers.size() << " answers left over";
    return result;
  }
  std::vector<std::string> MenuLines(size_t n) const {
    return SplitDialogLines(AnsweringRecorder::Text(*rec.Of("dialog").at(n), "text"));
  }
};

TEST_F(SystemMenuTest, TheMenuIsAQuestionWithAFieldHoldingAQuestionMark) {
  game->StageSelectPlay = kTrue;
  EXPECT_EQ(Menu({"0"}), kTrue);
  const TraceEvent& dialog = *rec.Of("dialog").at(0);
  EXPECT_EQ(AnsweringRecorder::Text(dialog, "caption"), "メニュー");
  EXPECT_EQ(AnsweringRecorder::Text(dialog, "buttons"), "INPUT");
  EXPECT_EQ(AnsweringRecorder::Text(dialog, "icon"), "?");
  EXPECT_EQ(AnsweringRecorder::Field(dialog, "width")->As<int64_t>(), 200);
  EXPECT_EQ(AnsweringRecorder::Field(dialog, "height")->As<int64_t>(), 212);
  EXPECT_EQ(MenuLines(0)[0], "１：サウンド = ＯＮ");
  EXPECT_EQ(game->StageSelectPlay, kFalse) << "every call clears it";
}

TEST_F(SystemMenuTest, ZeroTheUntouchedFieldAndTheCancelButtonCloseIt) {
  EXPECT_EQ(Menu({"0"}), kTrue);
  EXPECT_EQ(Menu({kJustReturn}), kTrue) << "the field's ? answered as it stands";
  EXPECT_EQ(Menu({kCloseBox}), kTrue);
  EXPECT_EQ(Menu({" 0 "}), kTrue) << "the dialog trims its answer";
  EXPECT_EQ(rec.Of("records").size(), 0u);
}

TEST_F(SystemMenuTest, UnknownAnswersShowTheMenuAgain) {
  for (const char* answer : {"7", "9", "１", "menu", "00"}) {
    EXPECT_EQ(Menu({answer}), kFalse) << answer;
  }
  EXPECT_EQ(rec.Of("dialog").size(), 5u) << "and open nothing else";
  EXPECT_EQ(rec.Of("records").size(), 0u);
}

TEST_F(SystemMenuTest, TheSoundItemTwiceRestoresTheSwitchSavingEachTime) {
  const int64_t before = platform->Now();
  EXPECT_EQ(Menu({"1"}), kFalse);
  EXPECT_EQ(game->SoundSwitch, "OFF");
  EXPECT_NE(ReadRecordFile().find("OFF"), std::string::npos) << "the file holds the new setting";
  EXPECT_GE(platform->Now() - before, 5 + 50) << "the answer, then the 50 ms pause";
  EXPECT_EQ(Menu({"1"}), kFalse);
  EXPECT_EQ(game->SoundSwitch, "ON");
  ASSERT_EQ(rec.Of("records").size(), 2u);
  for (const TraceEvent* e : rec.Of("records")) EXPECT_TRUE(AnsweringRecorder::Field(*e, "ok")->As<bool>());
  EXPECT_EQ(MenuLines(1)[0], "１：サウンド = ＯＦＦ") << "the second menu showed the switch off";
}

TEST_F(SystemMenuTest, TheScreenItemTogglesTheModeAndTheNextMenuOffersTheWayBack) {
  EXPECT_EQ(Menu({"2"}), kFalse);
  EXPECT_EQ(game->FullScreenOn, 1);
  EXPECT_TRUE(platform->IsFullScreen());
  ASSERT_EQ(rec.Of("fullscreen").size(), 1u);
  EXPECT_EQ(rec.Of("records").size(), 1u);
  EXPECT_EQ(Menu({"2"}), kFalse);
  EXPECT_EQ(MenuLines(1)[1], "２：ノーマルへ");
  EXPECT_EQ(game->FullScreenOn, 0);
}

TEST_F(SystemMenuTest, TheStageChoiceAsksUntilADigitFromOneToEight) {
  game->CurrentStage = 1;
  EXPECT_EQ(Menu({"3", "12", "0", kJustReturn, "１", "9", "5"}), kTrue);
  EXPECT_EQ(game->CurrentStage, 5);
  EXPECT_EQ(game->StageSelectPlay, kTrue);
  const std::vector<std::string> captions = rec.Captions();
  ASSERT_EQ(captions.size(), 7u);
  for (size_t i = 1; i < captions.size(); ++i) EXPECT_EQ(captions[i], "Ｋａｖｒｏｎａナンバー(１ ～ ８)の選択");
  EXPECT_EQ(MenuLines(1).size(), 11u);
}

TEST_F(SystemMenuTest, CancellingTheStageChoiceGoesBackToTheMenu) {
  game->CurrentStage = 4;
  EXPECT_EQ(Menu({"3", kCloseBox}), kFalse);
  EXPECT_EQ(game->CurrentStage, 4);
  EXPECT_EQ(game->StageSelectPlay, kFalse);
}

TEST_F(SystemMenuTest, TheRankingKeyHelpAndVersionPages) {
  EXPECT_EQ(Menu({"4", kJustReturn}), kFalse);
  EXPECT_EQ(Menu({"5", kJustReturn}), kFalse);
  EXPECT_EQ(Menu({"6", kJustReturn}), kFalse);
  const auto dialogs = rec.Of("dialog");
  ASSERT_EQ(dialogs.size(), 6u);
  const TraceEvent& ranking = *dialogs[1];
  EXPECT_EQ(AnsweringRecorder::Text(ranking, "caption"), "ランキング");
  EXPECT_EQ(AnsweringRecorder::Text(ranking, "buttons"), "Y");
  EXPECT_EQ(AnsweringRecorder::Text(ranking, "icon"), "F");
  EXPECT_EQ(MenuLines(1).size(), 37u);
  EXPECT_EQ(MenuLines(1)[1].substr(0, 16), "Kavrona1: " + game->RecordDates[0] + " ");
  EXPECT_EQ(AnsweringRecorder::Field(ranking, "height")->As<int64_t>(), 535);
  EXPECT_EQ(AnsweringRecorder::Text(*dialogs[3], "caption"), "操作方法");
  EXPECT_EQ(AnsweringRecorder::Text(*dialogs[3], "icon"), "F");
  EXPECT_EQ(MenuLines(3).size(), 14u);
  EXPECT_EQ(AnsweringRecorder::Text(*dialogs[5], "caption"), "バージョン情報");
  EXPECT_EQ(AnsweringRecorder::Text(*dialogs[5], "icon"), "!");
  EXPECT_EQ(MenuLines(5)[0].substr(0, 20), "kavrona    ver. 1.02");
  EXPECT_NE(MenuLines(5)[3].find("Kavrona.ini"), std::string::npos) << "where the records are kept";
}

TEST_F(SystemMenuTest, OpenSystemMenuRepeatsTheMenuThenSetsUpAChosenStage) {
  for (const char* a : {"4", kJustReturn, "7", "3", "2"}) rec.answers.emplace_back(a);
  OpenSystemMenu(*game);
  EXPECT_TRUE(rec.answers.empty());
  const auto stages = rec.Of("stage");
  ASSERT_EQ(stages.size(), 1u);
  EXPECT_EQ(AnsweringRecorder::Field(*stages[0], "stage")->As<int64_t>(), 2);
  EXPECT_TRUE(AnsweringRecorder::Field(*stages[0], "restart")->As<bool>());
  const auto waits = rec.Of("wait");
  ASSERT_EQ(waits.size(), 1u);
  EXPECT_EQ(AnsweringRecorder::Text(*waits[0], "kind"), "WaitKey") << "a select play's briefing has no menu";
  EXPECT_EQ(rec.Of("clock").size(), 1u);
  EXPECT_EQ(game->StageSelectPlay, kTrue);
  EXPECT_FALSE(game->screen[Pic::Picture1].Visible) << "no menu button in the nested briefing";
}

TEST_F(SystemMenuTest, OpenSystemMenuClosedSetsUpNothing) {
  rec.answers.emplace_back("0");
  OpenSystemMenu(*game);
  EXPECT_TRUE(rec.Of("stage").empty());
}

TEST_F(SystemMenuTest, TheMenuButtonSoundsAroundTheMenu) {
  Control& button = game->screen[Pic::Picture1];
  button.Visible = true;
  button.Move(663, 448);
  rec.answers.emplace_back("0");
  platform->QueueEvent(PlatformEvent::Click(670, 455));
  game->screen.DoEvents();
  std::vector<std::string> story;
  for (const TraceEvent& e : rec.events) {
    if (e.kind == "dialog") story.push_back("dialog");
    if (e.kind == "sound") story.push_back(AnsweringRecorder::Text(e, "op"));
  }
  EXPECT_EQ(story, (std::vector<std::string>{"rewind", "play", "dialog", "stop", "pan"}));
}

TEST_F(SystemMenuTest, SoundSwitchedOffFromTheButtonLeavesItsSoundToEnd) {
  Control& button = game->screen[Pic::Picture1];
  button.Visible = true;
  button.Move(663, 448);
  for (const char* a : {"1", "0"}) rec.answers.emplace_back(a);
  platform->QueueEvent(PlatformEvent::Click(670, 455));
  game->screen.DoEvents();
  const std::vector<std::string> sounds = rec.Lines({"sound"});
  EXPECT_EQ(sounds, (std::vector<std::string>{"sound rewind 10", "sound play 10"}))
      << "the stop is blocked by the switch";
}

}  // namespace
}  // namespace kav
