#include "game/entry_name.h"

#include <gtest/gtest.h>

#include "game/game_fixture.h"

namespace kav {
namespace {

struct Dialogs : TraceSink {
  struct Shown {
    std::string text;
    std::string caption;
    std::string buttons;
    std::string icon;
    std::string input;
  };
  std::vector<Shown> shown;
  const DialogView* view = nullptr;
  void Write(const TraceEvent& e) override {
    if (e.kind != "dialog") return;
    Shown s;
    for (const auto& [k, v] : e.fields) {
      if (k == "text") s.text = v.As<std::string>();
      if (k == "caption") s.caption = v.As<std::string>();
      if (k == "buttons") s.buttons = v.As<std::string>();
      if (k == "icon") s.icon = v.As<std::string>();
    }
    s.input = view->input;
    shown.push_back(s);
  }
};

class EntryNameTest : public testing::GameFixture {
 protected:
  Dialogs dialogs;
  void SetUp() override {
    GameFixture::SetUp();
    dialogs.view = &game->dialog;
    game->trace = Trace(&dialogs);
    platform->onSleep = [](HeadlessPlatform& p) {
      if (p.Now() > 60000) throw std::runtime_error("a dialog was never answered");
    };
  }
  void TypeAt(int64_t ms, const std::string& text) {
    platform->QueueEventAt(ms, PlatformEvent::Text(text));
    platform->QueueEventAt(ms + 1, PlatformEvent::Key(kVkReturn));
  }
};

TEST_F(EntryNameTest, TypedNameReplacesTheOfferedOneInCapitals) {
  game->PlayerName = "ORVEL";
  TypeAt(10, "abc");
  EnterPlayerName(*game, false);
  EXPECT_EQ(game->PlayerName, "ABC");
  ASSERT_EQ(dialogs.shown.size(), 1u) << "no explanation when a record file was there";
  EXPECT_EQ(dialogs.shown[0].text, "まずは、君の名前を英字８文字以内で入力してくれ");
  EXPECT_EQ(dialogs.shown[0].caption, "エントリー");
  EXPECT_EQ(dialogs.shown[0].buttons, "INPUT");
  EXPECT_EQ(dialogs.shown[0].icon, "ORVEL");
  EXPECT_EQ(dialogs.shown[0].input, "ORVEL");
}

TEST_F(EntryNameTest, TooLongANameIsRefusedAndAskedAgainWithTheOldOne) {
  game->PlayerName = "ACE";
  TypeAt(10, "ninechars");
  platform->QueueEventAt(30, PlatformEvent::Key(kVkReturn));  // the notice
  TypeAt(50, "eightch8");
  EnterPlayerName(*game, false);
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[1].text, "名前が長すぎる");
  EXPECT_EQ(dialogs.shown[1].caption, "注意");
  EXPECT_EQ(dialogs.shown[1].buttons, "Y");
  EXPECT_EQ(dialogs.shown[1].icon, "!");
  EXPECT_EQ(dialogs.shown[2].input, "ACE") << "the field starts with the name held, not the refused one";
  EXPECT_EQ(game->PlayerName, "EIGHTCH8");
}

TEST_F(EntryNameTest, FullWidthLettersAreStoredNarrow) {
  TypeAt(10, "ＡＢＣＤＥＦＧＨ");
  EnterPlayerName(*game, false);
  EXPECT_EQ(game->PlayerName, "ABCDEFGH") << "eight full-width letters are eight characters";
}

TEST_F(EntryNameTest, CancelKeepsTheNameAndAnEmptyFieldAnswersOne) {
  game->PlayerName = "ACE";
  platform->QueueEventAt(10, PlatformEvent::Key(kVkTab));
  platform->QueueEventAt(11, PlatformEvent::Key(kVkReturn));
  EnterPlayerName(*game, false);
  EXPECT_EQ(game->PlayerName, "ACE");

  platform->QueueEventAt(30, PlatformEvent::Key(kVkBackSpace));
  platform->QueueEventAt(31, PlatformEvent::Key(kVkReturn));
  EnterPlayerName(*game, false);
  EXPECT_EQ(game->PlayerName, "1");
}

TEST_F(EntryNameTest, FirstRunExplainsTheControls) {
  TypeAt(10, "pilot");
  platform->QueueEventAt(30, PlatformEvent::Key(kVkReturn));
  EnterPlayerName(*game, true);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[1].text, ";操作方法は指令が表示されたら[Ｍ]キーを押してコントロールを選択してくれ！");
  EXPECT_EQ(dialogs.shown[1].caption, "説明");
  EXPECT_EQ(dialogs.shown[1].buttons, "Y");
  EXPECT_EQ(dialogs.shown[1].icon, "F");
  EXPECT_EQ(game->PlayerName, "PILOT");
}

}  // namespace
}  // namespace kav
