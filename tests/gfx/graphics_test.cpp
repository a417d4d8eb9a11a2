#include "gfx/graphics.h"

#include <gtest/gtest.h>

#include <set>

#include "gfx/sprite_shapes.h"
#include "platform/headless/headless_platform.h"

namespace kav {
namespace {

constexpr uint32_t kKey = 0xFF00FF;

TEST(MoveControl, MinusOneLeavesAPropertyUnchanged) {
  Control c;
  c.Image = Surface(10, 20);
  c.Move(3, 4);
  MoveControl(c, -1, -1, -1, -1);
  EXPECT_EQ(c.Left, 3);
  EXPECT_EQ(c.Top, 4);
  EXPECT_EQ(c.Width(), 10);
  EXPECT_EQ(c.Height(), 20);
  MoveControl(c, -1, 7, 30, -1);
  EXPECT_EQ(c.Left, 3);
  EXPECT_EQ(c.Top, 7);
  EXPECT_EQ(c.Width(), 30);
  EXPECT_EQ(c.Height(), 20);
}

TEST(MakeMask, KeysOnPixelOneOneNotTheCorner) {
  Surface src(3, 3, kKey);
  src.SetPixel(0, 0, 0x123456);  // the corner differs from (1, 1)
  src.SetPixel(2, 2, 0x00FF00);
  Surface mask(3, 3, 0x777777);
  MakeMask(mask, src, 3, 3);
  EXPECT_EQ(mask.Pixel(1, 1), kWhite);
  EXPECT_EQ(mask.Pixel(0, 0), kBlack);
  EXPECT_EQ(mask.Pixel(2, 2), kBlack);
  EXPECT_EQ(mask.Pixel(2, 0), kWhite);
}

TEST(RandomInt, StaysInRangeAndCoversIt) {
  GfxState g;
  SeedRandom(g, 12345);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(RandomInt(g, 1), 1);
  std::set<int32_t> seen;
  for (int i = 0; i < 20000; ++i) {
    const int32_t v = RandomInt(g, 1000);
    ASSERT_GE(v, 1);
    ASSERT_LE(v, 1000);
    seen.insert(v);
  }
  EXPECT_GT(seen.size(), 990u);
  EXPECT_EQ(RandomInt(g, 0), 1);
}

TEST(RandomInt, SameSeedSameSequenceDifferentSeedDifferent) {
  GfxState a, b, c;
  SeedRandom(a, 4000);
  SeedRandom(b, 4000);
  SeedRandom(c, 4001);
  std::vector<int32_t> sa, sb, sc;
  for (int i = 0; i < 20; ++i) {
    sa.push_back(RandomInt(a, 1000000));
    sb.push_back(RandomInt(b, 1000000));
    sc.push_back(RandomInt(c, 1000000));
  }
  EXPECT_EQ(sa, sb);
  EXPECT_NE(sa, sc);
}

// A main window with small synthetic artwork, enough for the set-up to work on.
class SetUpGraphicsTest : public ::testing::Test {
 protected:
  HeadlessPlatform platform;
  Screen screen{platform};
  GfxState g;

  void SetUp() override {
    platform.SetDesktop({0, 0, 1280, 1024});
    Surface back(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y)
      for (int x = 0; x < kScreenWidth; ++x) back.SetPixel(x, y, static_cast<uint32_t>(x * 1000 + y));
    screen[Pic::picBack].Image = back;
    Surface font(655, 131, kKey);
    font.FillRect(30, 5, 10, 20, 0x00E0F0);  // a figure in the "0" cell
    font.SetPixel(32, 7, kBlack);            // black inside a figure is figure, not key
    screen[Pic::FontSrc].Image = font;
    screen[Pic::picTitle0].Image = Surface(423, 58, kKey);
    screen[AnimePatten(0)].Image = Surface(48, 23, kKey);
    screen[Pic::Picture4].Image = Surface(625, 376);
    SetUpGraphics(g, screen, platform);
  }
};

TEST_F(SetUpGraphicsTest, BuildsPartsSheetAndMask) {
  const Surface& buhin = screen[Pic::picBuhin].Image;
  const Surface& mask = screen[Pic::picMask].Image;
  const Surface& font = screen[Pic::FontSrc].Image;
  ASSERT_EQ(buhin.Width(), 655);
  ASSERT_EQ(buhin.Height(), 123);
  ASSERT_EQ(mask.Width(), 655);
  ASSERT_EQ(mask.Height(), 123);
  for (int y = 0; y < 123; ++y) {
    for (int x = 0; x < 655; ++x) {
      if (font.Pixel(x, y) == kKey) {
        ASSERT_EQ(buhin.Pixel(x, y), kBlack) << x << "," << y;
        ASSERT_EQ(mask.Pixel(x, y), kWhite) << x << "," << y;
      } else {
        ASSERT_EQ(buhin.Pixel(x, y), font.Pixel(x, y)) << x << "," << y;
        ASSERT_EQ(mask.Pixel(x, y), kBlack) << x << "," << y;
      }
    }
  }
}

TEST_F(SetUpGraphicsTest, PlacesStripsWindowTitleAndMessageWindow) {
  const Control& tim = screen[Pic::picTim];
  EXPECT_EQ(tim.Left, 300);
  EXPECT_EQ(tim.Top, 560);
  EXPECT_EQ(tim.Width(), 325);
  EXPECT_EQ(tim.Height(), 35);
  EXPECT_EQ(tim.Image.Pixel(0, 0), screen[Pic::picBack].Image.Pixel(300, 560));
  EXPECT_EQ(tim.Image.Pixel(324, 34), screen[Pic::picBack].Image.Pixel(624, 594));
  const Control& mag = screen[Pic::Picture2];
  EXPECT_EQ(mag.Left, 3);
  EXPECT_EQ(mag.Width(), 100);
  EXPECT_EQ(mag.Image.Pixel(99, 34), screen[Pic::picBack].Image.Pixel(102, 594));

  EXPECT_EQ(screen[Pic::Picture4].Top, 601) << "the message window waits below the visible area";
  EXPECT_EQ(screen[Pic::picTitle1].Width(), 800);
  EXPECT_EQ(screen[Pic::picTitle1].Image.Pixel(123, 456), screen[Pic::picBack].Image.Pixel(123, 456));
  EXPECT_EQ(screen[Pic::picTitle0].Top, 271);
  EXPECT_NEAR(screen[Pic::picTitle0].Left, 188.5, 0.5);

  EXPECT_EQ(g.SavedWindowRect, (WindowRect{240, 212, 800, 600}));
  EXPECT_EQ(g.Heli.Width, 48);
  EXPECT_EQ(g.Heli.Height, 23);
  EXPECT_EQ(g.GlyphRows[4], "ァィゥェォッャュョ");
}

TEST_F(SetUpGraphicsTest, ShapeSpritesFillsTheHelicopterRecord) {
  Surface heli(48, 23, kKey);
  heli.FillRect(10, 5, 20, 10, 0x336699);
  screen[AnimePatten(0)].Image = heli;
  screen[AnimePatten(0)].Visible = false;
  ShapeSprites(g, screen);
  EXPECT_EQ(g.Heli.FirstPic, 0);
  EXPECT_EQ(g.Heli.LastPic, 9);
  EXPECT_EQ(g.Heli.Pics[0], &screen[AnimePatten(0)]);
  EXPECT_EQ(g.Heli.Pics[9], &screen[AnimePatten(9)]);
  EXPECT_TRUE(g.Heli.Pics[0]->Visible);
  ASSERT_TRUE(g.Heli.Pics[0]->Shape.has_value());
  EXPECT_EQ(g.Heli.Pics[0]->Shape->Rects().size(), 10u);
  EXPECT_TRUE(g.Heli.Pics[0]->HitTest(15, 8));
  EXPECT_FALSE(g.Heli.Pics[0]->HitTest(2, 2));
  EXPECT_TRUE(screen[Pic::picTitle0].Shape->Empty()) << "an all-key logo shows nothing";
  EXPECT_FALSE(screen[AnimePatten(10)].Shape.has_value()) << "the finale picture is not shaped";
}

}  // namespace
}  // namespace kav
