#include "gfx/screen.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

#include "platform/headless/headless_platform.h"

namespace kav {
namespace {

class ScreenTest : public ::testing::Test {
 protected:
  HeadlessPlatform platform;
  Screen screen{platform};
  Surface frame{kScreenWidth, kScreenHeight};

  void SetUp() override {
    screen[Pic::picP].Image = Surface(kScreenWidth, kScreenHeight, 0x000011);
    screen[Pic::picP].Visible = true;
  }
  Control& Sprite(int i, int w, int h, uint32_t colour) {
    Control& c = screen[AnimePatten(i)];
    c.Image = Surface(w, h, colour);
    c.Visible = true;
    return c;
  }
};

TEST_F(ScreenTest, DrawsVisibleSurfacesInZOrder) {
  Control& heli = Sprite(0, 10, 10, 0x00AA00);
  heli.Move(5, 5);
  Control& burst = Sprite(3, 10, 10, 0xAA0000);
  burst.Move(10, 10);
  Control& hidden = Sprite(2, 10, 10, 0x0000AA);
  hidden.Move(0, 0);
  hidden.Visible = false;
  screen.Compose(frame);
  EXPECT_EQ(frame.Pixel(0, 0), 0x000011u);
  EXPECT_EQ(frame.Pixel(6, 6), 0x00AA00u);
  EXPECT_EQ(frame.Pixel(12, 12), 0xAA0000u) << "the burst lies above the helicopter";
}

TEST_F(ScreenTest, OffScreenSheetsAndParkedSpritesNeverShow) {
  screen[Pic::picBack].Image = Surface(kScreenWidth, kScreenHeight, 0x777777);
  screen[Pic::picBack].Visible = true;
  Control& parked = Sprite(4, 5, 5, 0xEEEEEE);
  parked.Park();
  screen.Compose(frame);
  for (int x = 0; x < kScreenWidth; x += 37) EXPECT_EQ(frame.Pixel(x, 599), 0x000011u);
}

TEST_F(ScreenTest, ShapedSpriteShowsOnlyItsRegion) {
  Control& s = Sprite(0, 3, 1, 0x00FF00);
  s.Move(100, 100);
  Region r;
  r.Union({1, 0, 2, 1});
  s.Shape = r;
  screen.Compose(frame);
  EXPECT_EQ(frame.Pixel(100, 100), 0x000011u);
  EXPECT_EQ(frame.Pixel(101, 100), 0x00FF00u);
  EXPECT_EQ(frame.Pixel(102, 100), 0x000011u);
}

TEST_F(ScreenTest, SpriteAtTheEdgeIsClipped) {
  Control& s = Sprite(0, 20, 20, 0x00FF00);
  s.Move(790, -5);
  screen.Compose(frame);
  EXPECT_EQ(frame.Pixel(799, 0), 0x00FF00u);
  EXPECT_EQ(frame.Pixel(789, 0), 0x000011u);
}

// Random scenes on a small frame, each composed and compared pixel for pixel with the plainest
// reading of the picture: the topmost box that takes a click at a pixel is the one seen there.
TEST_F(ScreenTest, ComposedFrameMatchesTopmostBoxAtEveryPixel) {
  const Pic bottomToTop[] = {Pic::picP,      Pic::picTim,    Pic::Picture2,  Pic::picTotal,  AnimePatten(10),
                             AnimePatten(9), AnimePatten(8), AnimePatten(7), AnimePatten(6), AnimePatten(5),
                             Pic::TekiMen,   Pic::TekiTama,  AnimePatten(4), AnimePatten(1), AnimePatten(0),
                             AnimePatten(2), AnimePatten(3), Pic::Picture4,  Pic::Picture1,  Pic::picTitle1,
                             Pic::picTitle0, Pic::frmDLG};
  constexpr int kW = 160;
  constexpr int kH = 120;
  constexpr uint32_t kUntouched = 0xABCDEF;
  std::mt19937 random(17);
  auto between = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  screen[Pic::picBack].Image = Surface(kW, kH, 0x777777);
  screen[Pic::picBack].Visible = true;  // an off-screen sheet, never drawn
  for (int scene = 0; scene < 24; ++scene) {
    for (Pic id : bottomToTop) {
      Control& c = screen[id];
      const int w = between(0, 70);
      const int h = between(1, 50);
      c.Image = Surface(w, h);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) c.Image.SetPixel(x, y, (static_cast<uint32_t>(id) << 16) | (y << 8) | x);
      }
      c.Shape.reset();
      const int kind = between(0, 3);
      if (kind == 1) {
        // Holes of the key colour give several runs on a row.
        for (int i = 0; i < w * h / 3; ++i) c.Image.SetPixel(between(0, w - 1), between(0, h - 1), kBlack);
        int32_t key = static_cast<int32_t>(ToColorRef(kBlack));
        c.Shape = RegionFromColourKey(c.Image, key);
      } else if (kind == 2) {
        // Overlapping rectangles, some reaching past the picture.
        Region r;
        for (int i = 0; i < 3; ++i) {
          const int left = between(-10, w);
          const int top = between(-10, h);
          r.Union({left, top, left + between(1, 40), top + between(1, 40)});
        }
        c.Shape = r;
      }
      c.Move(between(-60, kW), between(-50, kH));
      c.Visible = between(0, 4) != 0;
    }
    if (scene % 2 == 0) {
      // A full background, as in the game.
      screen[Pic::picP].Image = Surface(kW, kH, 0x000011);
      screen[Pic::picP].Shape.reset();
      screen[Pic::picP].Move(0, 0);
    }
    Surface composed(kW, kH, kUntouched);
    screen.Compose(composed);
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        uint32_t expected = kUntouched;
        for (auto it = std::rbegin(bottomToTop); it != std::rend(bottomToTop); ++it) {
          const Control& c = screen[*it];
          if (!c.HitTest(x, y)) continue;
          expected = c.Image.Pixel(x - c.Left, y - c.Top);
          break;
        }
        ASSERT_EQ(composed.Pixel(x, y), expected) << "scene " << scene << " at (" << x << ", " << y << ")";
      }
    }
  }
}

TEST_F(ScreenTest, ClickGoesToTopmostShapedSurfaceOnly) {
  int menuClicks = 0;
  Control& menu = screen[Pic::Picture1];
  menu.Image = Surface(32, 32, 0x123456);
  menu.Visible = true;
  menu.Move(700, 500);
  Region r;
  r.Union({0, 0, 16, 32});
  menu.Shape = r;
  menu.OnClick = [&] { ++menuClicks; };
  platform.QueueEventAt(0, PlatformEvent::Click(705, 510));
  platform.QueueEventAt(0, PlatformEvent::Click(720, 510));  // outside its shape
  platform.QueueEventAt(5, PlatformEvent::Click(705, 510));  // not yet due
  screen.DoEvents();
  EXPECT_EQ(menuClicks, 1);
  platform.Sleep(5);
  screen.DoEvents();
  EXPECT_EQ(menuClicks, 2);
  menu.Visible = false;
  platform.QueueEventAt(5, PlatformEvent::Click(705, 510));
  screen.DoEvents();
  EXPECT_EQ(menuClicks, 2) << "a hidden button takes no clicks";
}

TEST_F(ScreenTest, CloseOfTheWindowReachesTheHandler) {
  bool closed = false;
  screen.onClose = [&] { closed = true; };
  platform.QueueEventAt(0, PlatformEvent::Close());
  screen.DoEvents();
  EXPECT_TRUE(closed);
}

TEST_F(ScreenTest, PresentsOnlyWhenThePictureChanged) {
  screen.DoEvents();
  EXPECT_EQ(platform.PresentCount(), 1);
  screen.DoEvents();
  EXPECT_EQ(platform.PresentCount(), 1);
  screen[Pic::picP].Image.SetPixel(3, 3, 0xFFFFFF);
  screen.DoEvents();
  EXPECT_EQ(platform.PresentCount(), 2);
  EXPECT_EQ(platform.LastFrame()[3 * kScreenWidth + 3], 0xFFFFFFu);
  Control& s = Sprite(0, 2, 2, 0x00FF00);
  screen.DoEvents();
  EXPECT_EQ(platform.PresentCount(), 3);
  s.Move(40, 40);
  screen.DoEvents();
  EXPECT_EQ(platform.PresentCount(), 4);
  screen.Refresh();
  EXPECT_EQ(platform.PresentCount(), 5) << "a refresh always presents";
}

TEST_F(ScreenTest, HandlerThatRunsEventsTakesTheRestOfTheQueue) {
  std::vector<int> order;
  Control& menu = screen[Pic::Picture1];
  menu.Image = Surface(10, 10);
  menu.Visible = true;
  menu.OnClick = [&] {
    order.push_back(1);
    screen.DoEvents();  // a nested loop sees the close that was queued behind the click
    order.push_back(3);
  };
  screen.onClose = [&] { order.push_back(2); };
  platform.QueueEventAt(0, PlatformEvent::Click(1, 1));
  platform.QueueEventAt(0, PlatformEvent::Close());
  screen.DoEvents();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace kav
