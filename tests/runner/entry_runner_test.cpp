// The entry name as a script sees it: the dialogs start-up shows and what each answer stores.
#include <gtest/gtest.h>

#include "runner/runner_fixture.h"

namespace kav {
namespace {

class EntryRunnerTest : public testing::RunnerFixture {
 protected:
  std::vector<const TraceValue*> Dialogs() const {
    std::vector<const TraceValue*> found;
    for (const TraceValue& e : events) {
      if (Kind(e) == "dialog") found.push_back(&e);
    }
    return found;
  }
  static std::string Text(const TraceValue* e, const char* key) { return Field(*e, key)->As<std::string>(); }
  static int64_t Number(const TraceValue* e, const char* key) { return Field(*e, key)->As<int64_t>(); }
  void WriteRecords() {
    std::ofstream out(RecordFile(), std::ios::binary);
    for (int i = 0; i < 27; ++i) out << "04/22@60000\\ACE\r\n";
    out << "ON\r\nACE\r\n 0 \r\n";
  }
};

TEST_F(EntryRunnerTest, TypedNameIsStoredInCapitalsAndTheNoticeFollowsOnAFirstRun) {
  ASSERT_EQ(Run("until dialog\nstate\ntext abc\ntap Return\nclose dialog\nuntil wait\nexpect PlayerName=ABC\nquit\n"),
            0)
      << errors;
  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(Text(dialogs[0], "text"), "まずは、君の名前を英字８文字以内で入力してくれ");
  EXPECT_EQ(Text(dialogs[0], "caption"), "エントリー");
  EXPECT_EQ(Text(dialogs[0], "buttons"), "INPUT");
  EXPECT_EQ(Text(dialogs[0], "icon"), "ORVEL");
  EXPECT_EQ(Number(dialogs[0], "width"), 356);
  EXPECT_EQ(Number(dialogs[0], "height"), 148);
  EXPECT_EQ(Text(dialogs[1], "caption"), "説明");
  EXPECT_EQ(Text(dialogs[1], "icon"), "F");

  const TraceValue& dialog = *Field(*Find("state"), "dialog");
  EXPECT_EQ(Field(dialog, "input")->As<std::string>(), "ORVEL");
  EXPECT_EQ(Field(dialog, "selStart")->As<int64_t>(), 0);
  EXPECT_EQ(Field(dialog, "selLength")->As<int64_t>(), 5) << "the offered name is selected, so typing replaces it";
  EXPECT_EQ(Field(dialog, "focus")->As<std::string>(), "txtInput");
  EXPECT_EQ(Text(Find("answer"), "value"), "abc");
}

TEST_F(EntryRunnerTest, NineLettersBringTheNoticeThenTheOldNameAgain) {
  WriteRecords();
  ASSERT_EQ(Run("until dialog\ntext ninechars\ntap Return\nuntil dialog\ntap Return\nuntil dialog\nstate\ntext "
                "ＡＢＣ\ntap Return\n"
                "advance 20\nexpect PlayerName=ABC\nquit\n"),
            0)
      << errors;
  const auto dialogs = Dialogs();
  ASSERT_EQ(dialogs.size(), 3u) << "with a record file no notice follows the name";
  EXPECT_EQ(Text(dialogs[1], "text"), "名前が長すぎる");
  EXPECT_EQ(Text(dialogs[1], "caption"), "注意");
  EXPECT_EQ(Text(dialogs[1], "buttons"), "Y");
  EXPECT_EQ(Text(dialogs[2], "caption"), "エントリー");
  EXPECT_EQ(Field(*Field(*Find("state"), "dialog"), "input")->As<std::string>(), "ACE")
      << "asked again with the name held, not the refused one";
}

TEST_F(EntryRunnerTest, TheCloseBoxKeepsTheNameAndEscapePressesTheFirstButton) {
  WriteRecords();
  ASSERT_EQ(Run("until dialog\nclose dialog\nuntil wait\nexpect PlayerName=ACE\nquit\n"), 0) << errors;
  EXPECT_EQ(Text(Find("answer"), "value"), "");
  Restart();
  ASSERT_EQ(Run("until dialog\ntext pilot\ntap Escape\nadvance 20\nexpect PlayerName=PILOT\nquit\n"), 0) << errors;
  EXPECT_EQ(Text(Find("answer"), "value"), "pilot") << "Escape presses the first button, which gives the field";
}

}  // namespace
}  // namespace kav
