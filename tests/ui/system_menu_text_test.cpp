#include "ui/system_menu_text.h"

#include <gtest/gtest.h>

#include "base/utf8.h"
#include "ui/dialog_layout.h"

namespace kav {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  return SplitDialogLines(text);
}

TEST(MenuTextTest, TheListNamesTheSwitchAndTheModeToSwitchTo) {
  const std::vector<std::string> lines = Lines(MenuText("ON", 0));
  const std::vector<std::string> want = {"１：サウンド = ＯＮ", "２：フルスクリーンへ", "３：セレクト",
                                         "４：ランキング",      "５：操作方法",         "６：バージョン",
                                         "------------",        "０：メニューの終了"};
  EXPECT_EQ(lines, want);
  EXPECT_EQ(Lines(MenuText("OFF", 1))[0], "１：サウンド = ＯＦＦ");
  EXPECT_EQ(Lines(MenuText("OFF", 1))[1], "２：ノーマルへ");
  EXPECT_EQ(Lines(MenuText("ON", 1)).size(), 8u);
}

TEST(MenuTextTest, TheDialogIsSizedByTheWidestLine) {
  const DialogLayout on = LayOutDialog(MenuText("ON", 0), "INPUT", "?");
  EXPECT_EQ(on.m, 20) << "line 2, ten full-width characters";
  EXPECT_EQ(on.Tw, 120);
  EXPECT_EQ(on.Th, 96);
  EXPECT_EQ(on.outerWidth, 200);
  EXPECT_EQ(on.outerHeight, 212);
  const DialogLayout off = LayOutDialog(MenuText("OFF", 0), "INPUT", "?");
  EXPECT_EQ(off.m, 21) << "now line 1 is the widest";
  EXPECT_EQ(off.outerWidth, 6 * 21 + 80);
}

TEST(MenuTextTest, TheSoundSwitchSwapsOnlyItsTwoValues) {
  EXPECT_EQ(ToggledSoundSwitch("ON"), "OFF");
  EXPECT_EQ(ToggledSoundSwitch("OFF"), "ON");
  EXPECT_EQ(ToggledSoundSwitch(ToggledSoundSwitch("ON")), "ON");
  EXPECT_EQ(ToggledSoundSwitch("on"), "on");
  EXPECT_EQ(ToggledSoundSwitch(""), "");
}

TEST(StageChoiceTest, OnlyASingleDigitFromOneToEightPicksAStage) {
  for (int s = 1; s <= 8; ++s) EXPECT_EQ(ChosenStage(std::to_string(s)), s);
  for (const char* answer : {"12", "0", "9", "?", "１", "", "5 ", "a", "-1", "05"}) {
    EXPECT_EQ(ChosenStage(answer), 0) << '"' << answer << '"';
  }
}

TEST(StageChoiceTest, ElevenLinesWithTheTitleAndAnEmptyLastLine) {
  const std::vector<std::string> lines = Lines(StageChoiceText());
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines[0], "　　　Ｋａｖｒｏｎａ　　");
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "１　犯人を確認せよ");
  EXPECT_EQ(lines[3], "２　犯人を狙撃せよ（１人）");
  EXPECT_EQ(lines[9], "８　救助艇にて帰還");
  EXPECT_EQ(lines[10], "");
  EXPECT_EQ(std::string(kStageChoiceCaption), "Ｋａｖｒｏｎａナンバー(１ ～ ８)の選択");
}

TEST(KeyHelpTest, FourteenLinesEverySecondOneEmpty) {
  const std::vector<std::string> lines = Lines(KeyHelpText());
  ASSERT_EQ(lines.size(), 14u);
  for (size_t i = 1; i < lines.size(); i += 2) EXPECT_EQ(lines[i], "") << i;
  EXPECT_EQ(lines[0], "　 　  キーの説明　　　　");
  EXPECT_EQ(lines[4], "　　［↓］　　=　上移動  ") << "the down arrow, labelled as climbing";
  EXPECT_EQ(lines[10], "　　［Ｍ］　　=　メニュー");
  EXPECT_EQ(lines[12], "　［ＥＳＣ］　=　終了　　");
}

TEST(VersionTextTest, TheVersionLineThenANoticeNamingTheRecordFile) {
  const std::vector<std::string> lines = Lines(VersionText(1, 2, "/home/p/Kavrona.ini"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].substr(0, 20), "kavrona    ver. 1.02");
  EXPECT_GT(lines[0].size(), 20u) << "a credit follows on the same line";
  EXPECT_EQ(lines[1], "");
  EXPECT_NE(lines[2].find("Kavrona"), std::string::npos);
  EXPECT_NE(lines[3].find("/home/p/Kavrona.ini"), std::string::npos);
  EXPECT_EQ(Lines(VersionText(2, 15, "x"))[0].substr(0, 20), "kavrona    ver. 2.15");
}

TEST(VersionTextTest, ALongRecordPathKeepsItsEndAndTheDialogOnScreen) {
  std::string path = "/home/";
  for (int i = 0; i < 60; ++i) path += "日本";
  path += "/kavrona/Kavrona.ini";
  const std::string last = Lines(VersionText(1, 2, path))[3];
  EXPECT_NE(last.find("/kavrona/Kavrona.ini"), std::string::npos);
  EXPECT_NE(last.find("..."), std::string::npos);
  EXPECT_EQ(EncodeUtf8(DecodeUtf8(last)), last) << "cut between characters, not inside one";
  EXPECT_LE(LayOutDialog(VersionText(1, 2, path), "Y", "!").outerWidth, 800);
}

}  // namespace
}  // namespace kav
