#include "game/entry_name.h"

#include "game/dialogs.h"
#include "ui/text_conv.h"

namespace kav {
namespace {

constexpr size_t kMaxNameLength = 8;

std::string TrimBlanks(const std::string& s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

void EnterPlayerName(Game& g, bool firstRun) {
  std::string answer;
  for (;;) {
    std::string caption = g.texts("エントリー");
    answer = TrimBlanks(
        ShowDialog(g, g.texts("まずは、君の名前を英字８文字以内で入力してくれ"), caption, "INPUT", g.PlayerName));
    // Counted before the conversion: eight full-width letters pass and are kept narrow.
    if (CharCount(answer) <= kMaxNameLength) break;
    std::string notice = g.texts("注意");
    ShowDialog(g, g.texts("名前が長すぎる"), notice, "Y", "!");
  }
  const std::string name = ToUpperAndNarrow(answer);
  if (!name.empty()) g.PlayerName = name;

  if (firstRun) {
    std::string caption = g.texts("説明");
    ShowDialog(g, g.texts(";操作方法は指令が表示されたら[Ｍ]キーを押してコントロールを選択してくれ！"), caption, "Y",
               "F");
  }
}

}  // namespace kav
