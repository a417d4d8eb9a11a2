#include "gfx/screen.h"

#include <gtest/gtest.h>

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
