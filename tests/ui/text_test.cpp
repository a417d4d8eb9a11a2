#include <gtest/gtest.h>

#include "base/utf8.h"
#include "ui/text_conv.h"
#include "ui/text_field.h"

namespace kav {
namespace {

TEST(TextFieldTest, TypingReplacesTheSelectedText) {
  TextField f;
  f.SetText("ORVEL");
  f.SelectAll();
  EXPECT_EQ(f.SelStart(), 0u);
  EXPECT_EQ(f.SelLength(), 5u);
  f.Insert(U"ab");
  EXPECT_EQ(f.Text(), "ab");
  EXPECT_EQ(f.Caret(), 2u);
  f.Insert(U"ｶﾞ漢");
  EXPECT_EQ(f.Text(), "abｶﾞ漢");
  EXPECT_EQ(f.Length(), 5u) << "counted in characters, not bytes";
}

TEST(TextFieldTest, EditingKeys) {
  TextField f;
  f.SetText("abcd");
  f.Backspace();
  EXPECT_EQ(f.Text(), "abc");
  f.Home(false);
  f.Delete();
  EXPECT_EQ(f.Text(), "bc");
  f.MoveRight(true);
  EXPECT_EQ(f.SelLength(), 1u);
  f.Backspace();
  EXPECT_EQ(f.Text(), "c");
  f.Backspace();
  EXPECT_EQ(f.Text(), "c") << "nothing before the caret";
  f.End(false);
  f.Delete();
  EXPECT_EQ(f.Text(), "c");
  f.SetText("hello");
  f.End(false);
  f.MoveLeft(true);
  f.MoveLeft(true);
  EXPECT_EQ(f.SelStart(), 3u);
  EXPECT_EQ(f.SelLength(), 2u);
  f.MoveLeft(false);
  EXPECT_EQ(f.Caret(), 3u) << "Left without Shift collapses to the selection's start";
  EXPECT_EQ(f.SelLength(), 0u);
  f.Home(true);
  EXPECT_EQ(f.SelLength(), 3u);
}

TEST(TextFieldTest, StaysWithinItsLength) {
  TextField f;
  f.Insert(std::u32string(1000, U'x'));
  EXPECT_EQ(f.Length(), TextField::kMaxChars);
  f.SetText(std::string(400, 'y'));
  EXPECT_EQ(f.Length(), TextField::kMaxChars);
}

TEST(TextConvTest, UpperCaseAndNarrowForms) {
  EXPECT_EQ(ToUpperAndNarrow("abc"), "ABC");
  EXPECT_EQ(ToUpperAndNarrow("ＡＢＣ"), "ABC");
  EXPECT_EQ(ToUpperAndNarrow("ｐｉｌｏｔ１"), "PILOT1");
  EXPECT_EQ(ToUpperAndNarrow("Ｏ＠！　Ｋ"), "O@! K");
  EXPECT_EQ(ToUpperAndNarrow("カタカナ"), "ｶﾀｶﾅ");
  EXPECT_EQ(ToUpperAndNarrow("ガギグゲゴ"), "ｶﾞｷﾞｸﾞｹﾞｺﾞ") << "voiced marks become glyphs of their own";
  EXPECT_EQ(ToUpperAndNarrow("パピプペポバ"), "ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟﾊﾞ");
  EXPECT_EQ(ToUpperAndNarrow("ヅデドヴ"), "ﾂﾞﾃﾞﾄﾞｳﾞ");
  EXPECT_EQ(ToUpperAndNarrow("ァッャョー・ン"), "ｧｯｬｮｰ･ﾝ");
  EXPECT_EQ(ToUpperAndNarrow("ワヲ"), "ﾜｦ");
  EXPECT_EQ(ToUpperAndNarrow("ひらがな漢字"), "ひらがな漢字") << "no narrow forms to take";
  EXPECT_EQ(ToUpperAndNarrow("ｱｲｳ"), "ｱｲｳ");
  EXPECT_EQ(CharCount("ＡＢＣＤＥＦＧＨ"), 8u);
  EXPECT_EQ(CharCount("ｶﾞ"), 2u);
}

TEST(TextConvTest, FullWidthForms) {
  EXPECT_EQ(ToFullWidth("ON"), "ＯＮ");
  EXPECT_EQ(ToFullWidth("OFF"), "ＯＦＦ");
  EXPECT_EQ(ToFullWidth("a1 ~!"), "ａ１　～！") << "the blank becomes the ideographic space";
  EXPECT_EQ(ToFullWidth("ｱ漢"), "ｱ漢") << "only ASCII has a full-width form here";
  EXPECT_EQ(ToUpperAndNarrow(ToFullWidth("Pilot 7")), "PILOT 7") << "the narrowing takes them back";
}

TEST(Utf8Test, MalformedBytesAreReplacedNotDropped) {
  EXPECT_EQ(DecodeUtf8("a\xFF"
                       "b"),
            U"a\uFFFDb");
  EXPECT_EQ(DecodeUtf8("\xE3\x81"), U"\uFFFD\uFFFD") << "a cut sequence";
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), U"\uFFFD\uFFFD") << "an overlong slash";
  EXPECT_EQ(EncodeUtf8(DecodeUtf8("ｱ漢😀")), "ｱ漢😀");
}

}  // namespace
}  // namespace kav
