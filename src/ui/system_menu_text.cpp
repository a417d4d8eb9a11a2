#include "ui/system_menu_text.h"

#include <cstdio>

#include "ui/text_conv.h"

namespace kav {
namespace {

// A path wider than this many columns loses its beginning, so the notice stays on screen.
constexpr int kPathColumns = 48;

}  // namespace

std::string MenuText(const std::string& soundSwitch, int32_t fullScreenOn, const Texts& texts) {
  std::string text = texts("１：サウンド = ") + texts(ToFullWidth(soundSwitch));
  text += texts(";２：");
  text += texts(fullScreenOn == 0 ? "フルスクリーンへ;" : "ノーマルへ;");
  text += texts("３：セレクト;");
  text += texts("４：ランキング;");
  text += texts("５：操作方法;");
  text += texts("６：バージョン;");
  text += "------------;";
  text += texts("０：メニューの終了");
  return text;
}

std::string ToggledSoundSwitch(const std::string& soundSwitch) {
  if (soundSwitch == "ON") return "OFF";
  if (soundSwitch == "OFF") return "ON";
  return soundSwitch;
}

std::string StageChoiceText(const Texts& texts) {
  static constexpr const char* kLines[] = {
      "　　　Ｋａｖｒｏｎａ　　;;",  "１　犯人を確認せよ;", "２　犯人を狙撃せよ（１人）;",
      "３　燃料を補給せよ;",         "４　人質を保護せよ;", "５　人質を移送せよ;",
      "６　犯人を狙撃せよ（３人）;", "７　主犯を狙撃せよ;", "８　救助艇にて帰還;",
  };
  std::string text;
  for (const char* line : kLines) text += texts(line);
  return text;
}

int32_t ChosenStage(std::string_view answer) {
  if (answer.size() == 1 && answer[0] >= '1' && answer[0] <= '8') return answer[0] - '0';
  return 0;
}

std::string KeyHelpText(const Texts& texts) {
  static constexpr const char* kLines[] = {
      "　 　  キーの説明　　　　;;", "［ＳＰＡＣＥ］=　スタート又はミサイル;;",
      "　　［↓］　　=　上移動  ;;",  "　　［←］　　=　左移動  ;;",
      "　　［→］　　=　右移動  ;;",  "　　［Ｍ］　　=　メニュー;;",
      "　［ＥＳＣ］　=　終了　　;",
  };
  std::string text;
  for (const char* line : kLines) text += texts(line);
  return text;
}

std::string VersionText(int major, int minor, std::string_view recordFile) {
  char number[32];
  std::snprintf(number, sizeof number, "%d.%02d", major, minor);
  std::string text = "kavrona ";
  text += "   ver. ";
  text += number;
  text += "   (c) 2026 the Kavrona developers;;";
  text += "Kavrona: an SDL2 re-creation of a helicopter game;";
  text += "Records: " + ShortenedPath(recordFile, kPathColumns);
  return text;
}

}  // namespace kav
