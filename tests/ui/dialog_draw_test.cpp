#include "ui/dialog_draw.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "base/png_io.h"
#include "gfx/art_files.h"
#include "platform/headless/headless_platform.h"
#include "platform/ttf_fonts.h"
#include "ui/dialog.h"

namespace kav {
namespace {

class DialogDrawTest : public ::testing::Test {
 protected:
  std::unique_ptr<Fonts> fonts;
  HeadlessPlatform platform;
  Screen screen{platform};

  void SetUp() override {
    std::string error;
    fonts = OpenFonts(error);
    ASSERT_TRUE(fonts) << error;
    const char* built = std::getenv("KAVRONA_PROGRAM_DIR");
    ASSERT_NE(built, nullptr);
    const char* files[] = {art::kIconQuestion, art::kIconWarning, art::kIconHelp, art::kIconEmblem};
    for (int i = 0; i < 4; ++i) {
      std::optional<PngImage> png = ReadPng(std::string(built) + "/" + art::kDataDir + files[i]);
      ASSERT_TRUE(png) << files[i];
      Surface& icon = screen[ImgIcon(i)].Image;
      icon = Surface(png->width, png->height);
      icon.MutablePixels() = png->pixels;
    }
  }

  // A window dressed as ShowDialog dresses it, without waiting for an answer.
  static DialogWindow Dressed(const std::string& text, const std::string& buttons, const std::string& icon) {
    DialogWindow w;
    w.layout = LayOutDialog(text, buttons, icon);
    FitDialogToScreen(w.layout, 600);
    w.caption = w.layout.defaultCaption.empty() ? "エントリー" : w.layout.defaultCaption;
    w.windowIcon = w.layout.iconIndex;
    w.input.SetText(w.layout.inputVisible ? icon : "");
    w.input.SelectAll();
    w.focus = w.layout.inputVisible ? DialogFocus::Input : DialogFocus::Cmd2;
    w.visible = true;
    return w;
  }

  static int Count(const Surface& s, const DialogRect& r, uint32_t colour) {
    int n = 0;
    for (int y = r.top; y < r.top + r.height; ++y) {
      for (int x = r.left; x < r.left + r.width; ++x) n += s.Pixel(x, y) == colour ? 1 : 0;
    }
    return n;
  }
  static DialogRect Inner(const DialogWindow& w, const DialogRect& r) {
    const DialogRect in = DialogInnerArea(w);
    return {in.left + r.left, in.top + r.top, r.width, r.height};
  }
};

TEST_F(DialogDrawTest, TheEntryDialogShowsItsMessageFieldAndButtons) {
  const DialogWindow w = Dressed("まずは、君の名前を英字８文字以内で入力してくれ", "INPUT", "ORVEL");
  Surface out;
  DrawDialogWindow(w, screen, fonts.get(), out);
  ASSERT_EQ(out.Width(), w.layout.outerWidth);
  ASSERT_EQ(out.Height(), w.layout.outerHeight);

  const DialogRect msg = Inner(w, w.layout.txtMsg);
  const int green = Count(out, msg, 0x00C000);
  EXPECT_GT(green, 300) << "the message is drawn in green";
  EXPECT_EQ(Count(out, {msg.left + msg.width, msg.top, 4, msg.height}, 0x00C000), 0) << "and stays in its box";
  // The selected field text shows dark on green.
  const DialogRect field = Inner(w, w.layout.txtInput);
  EXPECT_GT(Count(out, field, 0x00C000), 100);
  EXPECT_GT(Count(out, field, 0x404040), 100);
  // Both buttons carry black captions on the window face.
  for (int i : {0, 1}) {
    const DialogRect b = Inner(w, w.layout.cmd[static_cast<size_t>(i)]);
    EXPECT_GT(Count(out, {b.left + 4, b.top + 4, b.width - 8, b.height - 8}, kBlack), 20) << i;
  }
  // The title bar is blue and the close box has its cross.
  EXPECT_EQ(out.Pixel(kDialogBorder, kDialogBorder + 1) & 0xFF, 0x6Au);
  const DialogRect box = DialogCloseBox(w);
  EXPECT_GT(Count(out, box, kBlack), 10);
}

TEST_F(DialogDrawTest, TheIconShowsOnlyForItsCode) {
  const DialogWindow warning = Dressed("注意;;abc", "Y", "!");
  Surface out;
  DrawDialogWindow(warning, screen, fonts.get(), out);
  const DialogRect icon = Inner(warning, {16, 16, 32, 32});
  const Surface& art = screen[ImgIcon(1)].Image;
  EXPECT_EQ(out.Pixel(icon.left + 16, icon.top + 16), art.Pixel(16, 16));
  EXPECT_EQ(out.Pixel(icon.left, icon.top), kBlack) << "the key colour lets the frame show";

  const DialogWindow none = Dressed("x", "INPUT", "ORVEL");
  DrawDialogWindow(none, screen, fonts.get(), out);
  const DialogRect empty = Inner(none, {16, 16, 32, 32});
  EXPECT_EQ(Count(out, empty, kBlack), 32 * 32) << "no icon for an unknown code";
}

TEST_F(DialogDrawTest, ALongMessageIsCutAndScrolls) {
  std::string fifty;
  for (int i = 0; i < 50; ++i) {
    if (i > 0) fifty += ';';
    fifty += "LINE " + std::to_string(i);
  }
  DialogWindow w = Dressed(fifty, "YN", "?");
  Surface top;
  DrawDialogWindow(w, screen, fonts.get(), top);
  EXPECT_EQ(top.Height(), 600);
  w.scrollLines = 5;
  Surface scrolled;
  DrawDialogWindow(w, screen, fonts.get(), scrolled);
  const DialogRect msg = Inner(w, w.layout.txtMsg);
  bool differs = false;
  for (int y = msg.top; y < msg.top + 12 && !differs; ++y) {
    for (int x = msg.left; x < msg.left + msg.width; ++x) differs = differs || top.Pixel(x, y) != scrolled.Pixel(x, y);
  }
  EXPECT_TRUE(differs) << "the first line shown moved on";
}

}  // namespace
}  // namespace kav
