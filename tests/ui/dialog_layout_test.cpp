#include "ui/dialog_layout.h"

#include <gtest/gtest.h>

namespace kav {
namespace {

TEST(DialogLayoutTest, WidthsInBytesAndLineSplitting) {
  EXPECT_EQ(DialogByteWidth("ABC"), 3);
  EXPECT_EQ(DialogByteWidth("ｱｲｳﾞ"), 4) << "half-width katakana and marks count 1";
  EXPECT_EQ(DialogByteWidth("あＡ漢"), 6);
  EXPECT_EQ(DialogByteWidth(""), 0);

  EXPECT_EQ(SplitDialogLines(""), std::vector<std::string>{""});
  EXPECT_EQ(SplitDialogLines("a;"), (std::vector<std::string>{"a", ""}));
  EXPECT_EQ(SplitDialogLines(";x;;y"), (std::vector<std::string>{"", "x", "", "y"}));

  std::string sixty;
  for (int i = 1; i <= 60; ++i) {
    if (i > 1) sixty += ';';
    sixty += std::to_string(i);
  }
  const std::vector<std::string> lines = SplitDialogLines(sixty);
  ASSERT_EQ(lines.size(), 50u);
  EXPECT_EQ(lines[48], "49");
  EXPECT_EQ(lines[49], "5051525354555657585960") << "what follows line 50 runs into it";
}

TEST(DialogLayoutTest, ThreeLineNoticeWithOneButton) {
  // Two full-width characters, an empty line, three ASCII characters.
  const DialogLayout l = LayOutDialog("注意;;abc", "Y", "!");
  EXPECT_EQ(l.n, 3);
  EXPECT_EQ(l.m, 4);
  EXPECT_EQ(l.Tw, 40) << "the minimum for one button";
  EXPECT_EQ(l.Th, 36);
  EXPECT_EQ(l.iconIndex, 1);
  EXPECT_EQ(l.defaultCaption, "注意");
  EXPECT_EQ(l.shp0, (DialogRect{8, 8, 104, 52}));
  EXPECT_EQ(l.txtMsg, (DialogRect{56, 16, 40, 36}));
  EXPECT_EQ(l.outerWidth, 120);
  EXPECT_EQ(l.outerHeight, 127) << "Th + 91";
  EXPECT_EQ(l.innerWidth, 114);
  EXPECT_TRUE(l.cmdVisible[2]);
  EXPECT_FALSE(l.cmdVisible[0] || l.cmdVisible[1] || l.inputVisible);
  EXPECT_EQ(l.defaultButton, 2);
  EXPECT_EQ(l.cmd[2], (DialogRect{114 / 2 - 40, 36 + 27 + 8, 80, 25}));
  EXPECT_EQ(l.cmd[2].top + 25 + 31, l.outerHeight);

  EXPECT_EQ(LayOutDialog("", "", "?").Tw, 40) << "no buttons argument is one button too";
  EXPECT_EQ(LayOutDialog("", "", "?").Th, 32) << "at least 32 high";
}

TEST(DialogLayoutTest, TwoButtonsAndTheInputField) {
  const DialogLayout yn = LayOutDialog("注意;;abc", "YN", "?");
  EXPECT_EQ(yn.Tw, 100) << "the minimum with two buttons";
  EXPECT_TRUE(yn.cmdVisible[0] && yn.cmdVisible[1] && !yn.cmdVisible[2]);
  EXPECT_EQ(yn.defaultButton, 0);
  const int w = yn.innerWidth;
  EXPECT_EQ(yn.cmd[0].left, w / 2 - 82);
  EXPECT_EQ(yn.cmd[1].left, w / 2 + 2);
  EXPECT_EQ(yn.cmd[1].left - (yn.cmd[0].left + 80), 4) << "a four-pixel gap around the centre";
  EXPECT_EQ(yn.defaultCaption, "質問");

  const DialogLayout in = LayOutDialog("まずは、君の名前を英字８文字以内で入力してくれ", "INPUT", "ORVEL");
  EXPECT_EQ(in.m, 46);
  EXPECT_EQ(in.Tw, 276);
  EXPECT_EQ(in.Th, 32);
  EXPECT_EQ(in.iconIndex, -1) << "ORVEL is the field's text, not an icon";
  EXPECT_EQ(in.defaultCaption, "");
  EXPECT_TRUE(in.inputVisible);
  const int y0 = in.Th + 27;
  EXPECT_EQ(in.shp1, (DialogRect{8, y0, 340, 33}));
  EXPECT_EQ(in.txtInput, (DialogRect{12, y0 + 3, 330, 25}));
  EXPECT_EQ(in.cmd[0].top, y0 + 33);
  EXPECT_EQ(in.outerWidth, 356);
  EXPECT_EQ(in.outerHeight, in.Th + 116);

  EXPECT_FALSE(LayOutDialog("x", "OK", "H").cmdVisible[2]) << "an unknown set shows no button";
  EXPECT_EQ(LayOutDialog("x", "OK", "H").defaultButton, -1);
  EXPECT_EQ(LayOutDialog("x", "OK", "H").Tw, 100);
  EXPECT_EQ(LayOutDialog("x", "y", "f").iconIndex, -1) << "codes compare exactly";
}

TEST(DialogLayoutTest, TallMessagesKeepTheirButtonsOnTheScreen) {
  std::string ranking;
  for (int i = 0; i < 37; ++i) {
    if (i > 0) ranking += ';';
    ranking += "STAGE 1  60.00 ORVEL";
  }
  DialogLayout l = LayOutDialog(ranking, "Y", "F");
  EXPECT_EQ(l.outerHeight, 535);
  FitDialogToScreen(l, 600);
  EXPECT_EQ(l.cutHeight, 0) << "535 fits";

  std::string fifty;
  for (int i = 0; i < 50; ++i) {
    if (i > 0) fifty += ';';
    fifty += std::to_string(i);
  }
  DialogLayout tall = LayOutDialog(fifty, "YN", "?");
  EXPECT_EQ(tall.outerHeight, 691);
  const int buttonsTop = tall.cmd[0].top;
  FitDialogToScreen(tall, 600);
  EXPECT_EQ(tall.outerHeight, 600);
  EXPECT_EQ(tall.cutHeight, 91);
  EXPECT_EQ(tall.cmd[0].top, buttonsTop - 91);
  EXPECT_EQ(tall.txtMsg.height, 509);
  EXPECT_EQ(tall.cmd[0].top + 25 + 31, tall.outerHeight) << "the buttons keep their place at the bottom";
}

}  // namespace
}  // namespace kav
