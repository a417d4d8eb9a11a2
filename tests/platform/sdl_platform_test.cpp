#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl/sharp_scale.h"
#include "support/scoped_env.h"

namespace kav {
namespace {

using test::ScopedEnv;

using Kind = PlatformEvent::Kind;

TEST(SdlKeyMappingTest, PolledKeysMapToTheirScancodes) {
  EXPECT_EQ(ScancodeForVk(kVkReturn), SDL_SCANCODE_RETURN);
  EXPECT_EQ(ScancodeForVk(kVkEscape), SDL_SCANCODE_ESCAPE);
  EXPECT_EQ(ScancodeForVk(kVkSpace), SDL_SCANCODE_SPACE);
  EXPECT_EQ(ScancodeForVk(kVkLeft), SDL_SCANCODE_LEFT);
  EXPECT_EQ(ScancodeForVk(kVkUp), SDL_SCANCODE_UP);
  EXPECT_EQ(ScancodeForVk(kVkRight), SDL_SCANCODE_RIGHT);
  EXPECT_EQ(ScancodeForVk(kVkDown), SDL_SCANCODE_DOWN);
  EXPECT_EQ(ScancodeForVk(kVkM), SDL_SCANCODE_M);
  EXPECT_EQ(ScancodeForVk(kVkF4), SDL_SCANCODE_F4);
}

TEST(SdlKeyMappingTest, NumbersTheGameNeverPollsReadAsNoKey) {
  for (int vk : {-1, 0, 8, 9, 12, 14, 33, 36, 41, 46, 65, 78, 89, 114, 116, 255, 1000}) {
    EXPECT_EQ(ScancodeForVk(vk), SDL_SCANCODE_UNKNOWN) << vk;
  }
}

TEST(SdlKeyMappingTest, PressesReportWindowsNumbers) {
  struct Case {
    SDL_Scancode scancode;
    SDL_Keycode keycode;
    int vk;
  };
  const Case cases[] = {
      {SDL_SCANCODE_RETURN, SDLK_RETURN, 13},
      {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, 13},
      {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, 27},
      {SDL_SCANCODE_SPACE, SDLK_SPACE, 32},
      {SDL_SCANCODE_LEFT, SDLK_LEFT, 37},
      {SDL_SCANCODE_UP, SDLK_UP, 38},
      {SDL_SCANCODE_RIGHT, SDLK_RIGHT, 39},
      {SDL_SCANCODE_DOWN, SDLK_DOWN, 40},
      {SDL_SCANCODE_M, SDLK_m, 77},
      {SDL_SCANCODE_F4, SDLK_F4, 115},
      {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, 8},
      {SDL_SCANCODE_TAB, SDLK_TAB, 9},
      {SDL_SCANCODE_DELETE, SDLK_DELETE, 46},
      {SDL_SCANCODE_HOME, SDLK_HOME, 36},
      {SDL_SCANCODE_END, SDLK_END, 35},
      {SDL_SCANCODE_Y, SDLK_y, 89},
      {SDL_SCANCODE_N, SDLK_n, 78},
      {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, 16},
      {SDL_SCANCODE_RALT, SDLK_RALT, 18},
      {SDL_SCANCODE_F5, SDLK_F5, 0},
      {SDL_SCANCODE_LCTRL, SDLK_LCTRL, 0},
      {SDL_SCANCODE_KP_1, SDLK_KP_1, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VkForKey(c.scancode, c.keycode), c.vk) << SDL_GetScancodeName(c.scancode);
  }
}

TEST(SdlKeyMappingTest, EveryLetterAndDigitReportsItsCharacter) {
  for (int i = 0; i < 26; ++i) {
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_A + i);
    EXPECT_EQ(VkForKey(scancode, SDLK_a + i), 'A' + i) << SDL_GetScancodeName(scancode);
  }
  // SDL numbers the top row 1 ... 9, 0.
  for (int i = 0; i < 10; ++i) {
    const auto scancode = static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i);
    EXPECT_EQ(VkForKey(scancode, SDLK_1 + i), i == 9 ? '0' : '1' + i) << SDL_GetScancodeName(scancode);
  }
  // French layout: the top row types symbols without Shift, yet the keys are still digits.
  EXPECT_EQ(VkForKey(SDL_SCANCODE_1, SDLK_AMPERSAND), '1');
  EXPECT_EQ(VkForKey(SDL_SCANCODE_0, 0xE0), '0');
}

TEST(SdlKeyMappingTest, PolledKeysRoundTrip) {
  for (int vk : {kVkReturn, kVkEscape, kVkSpace, kVkLeft, kVkUp, kVkRight, kVkDown, kVkF4}) {
    EXPECT_EQ(VkForKey(ScancodeForVk(vk), SDLK_UNKNOWN), vk) << vk;
  }
}

TEST(SdlKeyMappingTest, LettersFollowTheLayout) {
  // French layout: M sits right of L, and the US M position types a comma.
  EXPECT_EQ(VkForKey(SDL_SCANCODE_SEMICOLON, SDLK_m), kVkM);
  EXPECT_EQ(VkForKey(SDL_SCANCODE_M, SDLK_COMMA), 0);
  // German layout swaps Y and Z.
  EXPECT_EQ(VkForKey(SDL_SCANCODE_Z, SDLK_y), 89);
  EXPECT_EQ(VkForKey(SDL_SCANCODE_Y, SDLK_z), 90);
  // A Cyrillic layout has no Latin letters; the key's position decides.
  EXPECT_EQ(VkForKey(SDL_SCANCODE_M, 0x44C), kVkM);
  EXPECT_EQ(VkForKey(SDL_SCANCODE_N, 0x442), 78);
}

TEST(HeldKeyFilterTest, KeyHeldThroughAFocusLossNeedsAReleaseAndANewPress) {
  HeldKeyFilter filter;
  filter.KeyPressed(SDL_SCANCODE_LEFT, false);
  filter.OtherEvent();
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_LEFT));

  filter.FocusLost(1000);
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_LEFT));
  // Auto-repeat of the key still held.
  filter.KeyPressed(SDL_SCANCODE_LEFT, true);
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_LEFT));
  filter.KeyReleased(SDL_SCANCODE_LEFT, 1500);
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_LEFT));
  filter.KeyPressed(SDL_SCANCODE_LEFT, false);
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_LEFT));
}

TEST(HeldKeyFilterTest, SdlsOwnReleaseAndRepressAroundAFocusChangeDoNotCount) {
  HeldKeyFilter filter;
  filter.KeyPressed(SDL_SCANCODE_LEFT, false);
  filter.KeyPressed(SDL_SCANCODE_SPACE, false);
  filter.OtherEvent();
  // SDL lets go of the held keys right before it reports the loss ...
  filter.KeyReleased(SDL_SCANCODE_LEFT, 5000);
  filter.KeyReleased(SDL_SCANCODE_SPACE, 5001);
  filter.FocusLost(5001);
  filter.OtherEvent();
  // ... and the key still held presses again when the focus comes back (X's auto-repeat, or
  // SDL catching up with the keyboard).
  EXPECT_FALSE(filter.KeyPressed(SDL_SCANCODE_LEFT, false));
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_LEFT));
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_SPACE));

  filter.KeyReleased(SDL_SCANCODE_LEFT, 6000);
  EXPECT_TRUE(filter.KeyPressed(SDL_SCANCODE_LEFT, false));
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_LEFT));
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_SPACE));
}

TEST(HeldKeyFilterTest, KeysUpAtTheFocusLossWorkOnTheirFirstPress) {
  HeldKeyFilter filter;
  filter.KeyPressed(SDL_SCANCODE_SPACE, false);
  filter.KeyReleased(SDL_SCANCODE_SPACE, 100);
  // The player moved the mouse before switching away: that release was real.
  filter.OtherEvent();
  filter.FocusLost(101);
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_SPACE));
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_RETURN));
  filter.KeyPressed(SDL_SCANCODE_SPACE, false);
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_SPACE));
}

TEST(HeldKeyFilterTest, AReleaseLongBeforeTheFocusLossWasThePlayers) {
  // F4 pressed and let go, then nothing at all until another window takes the focus.
  HeldKeyFilter filter;
  EXPECT_TRUE(filter.KeyPressed(SDL_SCANCODE_F4, false));
  filter.OtherEvent();
  filter.KeyReleased(SDL_SCANCODE_F4, 3394);
  filter.FocusLost(3911);
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_F4));
  filter.OtherEvent();
  // The first press after the focus comes back toggles.
  EXPECT_TRUE(filter.KeyPressed(SDL_SCANCODE_F4, false));
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_F4));
}

TEST(HeldKeyFilterTest, OnlyReleasesAtTheMomentOfTheLossWereSdls) {
  HeldKeyFilter filter;
  for (int scancode : {SDL_SCANCODE_F4, SDL_SCANCODE_UP, SDL_SCANCODE_SPACE}) {
    filter.KeyPressed(scancode, false);
  }
  filter.OtherEvent();
  filter.KeyReleased(SDL_SCANCODE_F4, 0xFFFFFFFDu);  // the player's
  // SDL's, across the wrap of the tick counter.
  filter.KeyReleased(SDL_SCANCODE_UP, 0xFFFFFFFEu);
  filter.KeyReleased(SDL_SCANCODE_SPACE, 0);
  filter.FocusLost(0);
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_F4));
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_UP));
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_SPACE));
}

TEST(HeldKeyFilterTest, ASecondFocusLossKeepsKeysStale) {
  HeldKeyFilter filter;
  filter.KeyPressed(SDL_SCANCODE_UP, false);
  filter.FocusLost(10);
  filter.KeyReleased(SDL_SCANCODE_UP, 10);
  filter.OtherEvent();
  filter.FocusLost(400);
  EXPECT_FALSE(filter.Passes(SDL_SCANCODE_UP));
  filter.KeyPressed(SDL_SCANCODE_UP, false);
  EXPECT_TRUE(filter.Passes(SDL_SCANCODE_UP));
}

TEST(HeldKeyFilterTest, OutOfRangeScancodesNeverPass) {
  HeldKeyFilter filter;
  filter.KeyPressed(-1, false);
  filter.KeyReleased(SDL_NUM_SCANCODES, 0);
  filter.FocusLost(0);
  EXPECT_FALSE(filter.Passes(-1));
  EXPECT_FALSE(filter.Passes(SDL_NUM_SCANCODES));
}

class LocalClockTest : public testing::Test {
 protected:
  void TearDown() override { tzset(); }
  void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  ScopedEnv restoreZone_{"TZ"};
};

TEST_F(LocalClockTest, SplitsLocalTimeIntoDateAndSeconds) {
  UseZone("UTC0");
  // 2024-02-29 13:45:30.250 UTC.
  const auto when =
      std::chrono::system_clock::time_point(std::chrono::seconds(1709214330)) + std::chrono::milliseconds(250);
  const LocalClock clock = LocalClockAt(when);
  EXPECT_EQ(clock.Month, 2);
  EXPECT_EQ(clock.Day, 29);
  EXPECT_DOUBLE_EQ(clock.SecondsSinceMidnight, 13 * 3600 + 45 * 60 + 30.25);
}

TEST_F(LocalClockTest, UsesTheLocalZoneAcrossTheYearEnd) {
  UseZone("JST-9");
  // 2024-12-31 20:00:00 UTC is 05:00 on New Year's Day in Japan.
  const auto when = std::chrono::system_clock::time_point(std::chrono::seconds(1735675200));
  const LocalClock clock = LocalClockAt(when);
  EXPECT_EQ(clock.Month, 1);
  EXPECT_EQ(clock.Day, 1);
  EXPECT_DOUBLE_EQ(clock.SecondsSinceMidnight, 5 * 3600);
}

TEST(SdlPlatformFilesTest, ProgramDirIsTheExecutablesDirectory) {
  SdlPlatform platform;
  const std::string dir = platform.files.ProgramDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  const auto exe = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(std::filesystem::canonical(dir), std::filesystem::canonical(exe.parent_path()));
}

TEST(SdlPlatformFilesTest, OnlyOneCopyHoldsTheInstanceLock) {
  ScopedEnv restore("XDG_RUNTIME_DIR");
  std::string pattern = (std::filesystem::temp_directory_path() / "kav_sdl_XXXXXX").string();
  const std::string dir = mkdtemp(pattern.data());
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  {
    auto first = std::make_unique<SdlPlatform>();
    SdlPlatform second;
    EXPECT_TRUE(first->files.AcquireSingleInstanceLock());
    EXPECT_TRUE(first->files.AcquireSingleInstanceLock());
    EXPECT_FALSE(second.files.AcquireSingleInstanceLock());
    EXPECT_TRUE(std::filesystem::exists(dir + "/kavrona.lock"));
    first.reset();
    EXPECT_TRUE(second.files.AcquireSingleInstanceLock());
  }
  std::filesystem::remove_all(dir);
}

TEST(SdlPlatformFilesTest, FatalMessageGoesToStandardErrorWithoutADisplay) {
  ScopedEnv restoreDisplay("DISPLAY");
  ScopedEnv restoreWayland("WAYLAND_DISPLAY");
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  SdlPlatform platform;
  testing::internal::CaptureStderr();
  platform.messages.ShowFatalMessage("Kavrona", "data/title.png が見つかりません");
  const std::string output = testing::internal::GetCapturedStderr();
  EXPECT_NE(output.find("Kavrona"), std::string::npos);
  EXPECT_NE(output.find("data/title.png が見つかりません"), std::string::npos);
}

TEST(SdlPlatformFilesTest, WorksBeforeTheWindowExists) {
  SdlPlatform platform;
  EXPECT_FALSE(platform.input.KeyDown(kVkSpace));
  EXPECT_TRUE(platform.input.PollEvents().empty());
  EXPECT_FALSE(platform.display.IsFullScreen());
  EXPECT_EQ(platform.display.GetWindowRect(), WindowRect{});
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

bool OffscreenDriverAvailable() {
  for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
    if (SDL_strcmp(SDL_GetVideoDriver(i), "offscreen") == 0) {
      return true;
    }
  }
  return false;
}

// A real SDL window on the offscreen driver, drawn by the software renderer so that its pixels
// can be read back.
class SdlWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!OffscreenDriverAvailable()) {
      GTEST_SKIP() << "SDL has no offscreen video driver";
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    // The software renderer needs no GL; keeping the system's EGL library out also keeps
    // its never-freed allocations out of the leak checker.
    setenv("SDL_VIDEO_EGL_DRIVER", "kavrona-no-egl", 1);
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    platform_ = std::make_unique<SdlPlatform>();
    try {
      platform_->display.CreateMainWindow();
    } catch (const std::exception& error) {
      platform_.reset();
      GTEST_SKIP() << error.what();
    }
  }

  void TearDown() override {
    if (platform_) {
      ReleaseAllKeys();
      platform_.reset();
    }
  }

  SDL_Window* Window() { return platform_->display.NativeWindow(); }

  void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

  void PushWindowEvent(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = SDL_GetWindowID(Window());
    event.window.event = static_cast<Uint8>(id);
    Push(event);
  }

  void PushKey(SDL_Scancode scancode, SDL_Keycode keycode, bool repeat = false, bool down = true, Uint16 mods = 0) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = SDL_GetWindowID(Window());
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = keycode;
    event.key.keysym.mod = mods;
    Push(event);
  }

  void PushClick(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.windowID = SDL_GetWindowID(Window());
    event.button.button = button;
    event.button.state = SDL_PRESSED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    Push(event);
  }

  // The offscreen driver has no keyboard, and SDL offers no way to inject key state, so the
  // test writes SDL's own state array, which is what a real key press changes.
  static void SetKeyState(SDL_Scancode scancode, bool down) {
    const_cast<Uint8*>(SDL_GetKeyboardState(nullptr))[scancode] = down ? 1 : 0;
  }
  static void ReleaseAllKeys() {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    std::fill(const_cast<Uint8*>(state), const_cast<Uint8*>(state) + count, Uint8{0});
  }

  std::vector<PlatformEvent> Events() { return platform_->input.PollEvents(); }

  void Resize(int width, int height) {
    platform_->display.SetWindowRect({.Left = 0, .Top = 0, .Width = width, .Height = height});
    Events();
  }

  // The pixel the player sees at a window position.
  uint32_t WindowPixel(int x, int y) {
    SDL_Surface* surface = SDL_GetWindowSurface(Window());
    EXPECT_NE(surface, nullptr) << SDL_GetError();
    if (surface == nullptr || x < 0 || y < 0 || x >= surface->w || y >= surface->h) {
      return 0xDEADBEEF;
    }
    Uint32 raw = 0;
    const ptrdiff_t offset = ptrdiff_t{y} * surface->pitch + ptrdiff_t{x} * surface->format->BytesPerPixel;
    SDL_memcpy(&raw, static_cast<const Uint8*>(surface->pixels) + offset, sizeof(raw));
    Uint8 r = 0;
    Uint8 g = 0;
    Uint8 b = 0;
    SDL_GetRGB(raw, surface->format, &r, &g, &b);
    return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b;
  }

  static std::vector<uint32_t> TestFrame() {
    std::vector<uint32_t> frame(size_t{kScreenWidth} * kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
      for (int x = 0; x < kScreenWidth; ++x) {
        frame[y * kScreenWidth + x] =
            (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) | 0x40;
      }
    }
    return frame;
  }

  ScopedEnv restoreDriver_{"SDL_VIDEODRIVER"};
  std::unique_ptr<SdlPlatform> platform_;
};

TEST_F(SdlWindowTest, WindowStartsHiddenResizableAndExactly800By600) {
  EXPECT_STREQ(SDL_GetWindowTitle(Window()), "Kavrona");
  const Uint32 flags = SDL_GetWindowFlags(Window());
  EXPECT_NE(flags & SDL_WINDOW_HIDDEN, 0u);
  EXPECT_NE(flags & SDL_WINDOW_RESIZABLE, 0u);
  const WindowRect rect = platform_->display.GetWindowRect();
  EXPECT_EQ(rect.Width, 800);
  EXPECT_EQ(rect.Height, 600);
  EXPECT_FALSE(platform_->display.IsFullScreen());

  platform_->display.ShowMainWindow();
  EXPECT_EQ(SDL_GetWindowFlags(Window()) & SDL_WINDOW_HIDDEN, 0u);
}

TEST_F(SdlWindowTest, PresentShowsTheFramePixelForPixel) {
  platform_->display.ShowMainWindow();
  const std::vector<uint32_t> frame = TestFrame();
  platform_->display.Present(frame.data());
  for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}, {123, 456}}) {
    EXPECT_EQ(WindowPixel(x, y), frame[y * kScreenWidth + x]) << x << "," << y;
  }
}

TEST_F(SdlWindowTest, WiderWindowLetterboxesTheFrameAndKeepsIt) {
  platform_->display.ShowMainWindow();
  const std::vector<uint32_t> frame = TestFrame();
  platform_->display.Present(frame.data());
  Resize(1600, 600);
  // The resize repaints the last frame without the game presenting again.
  EXPECT_EQ(WindowPixel(100, 300), 0u);
  EXPECT_EQ(WindowPixel(1500, 300), 0u);
  EXPECT_EQ(WindowPixel(400 + 10, 20), frame[20 * kScreenWidth + 10]);
  EXPECT_EQ(WindowPixel(400 + 799, 599), frame[599 * kScreenWidth + 799]);

  Resize(1600, 1200);
  EXPECT_EQ(WindowPixel(2 * 321 + 1, 2 * 123 + 1), frame[123 * kScreenWidth + 321]);
}

// One-pixel columns alternating black and white, as the sky's dither is.
std::vector<uint32_t> StripedFrame() {
  std::vector<uint32_t> frame(size_t{kScreenWidth} * kScreenHeight);
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = (i % kScreenWidth) % 2 == 0 ? 0x000000 : 0xFFFFFF;
  return frame;
}

TEST_F(SdlWindowTest, AWholeMultipleShowsEveryFramePixelAsACleanBlock) {
  platform_->display.ShowMainWindow();
  const std::vector<uint32_t> frame = TestFrame();
  platform_->display.Present(frame.data());
  Resize(1600, 1200);
  for (auto [x, y] : {std::pair{0, 0}, {321, 123}, {799, 599}, {400, 300}}) {
    for (int dy = 0; dy < 2; ++dy) {
      for (int dx = 0; dx < 2; ++dx) {
        EXPECT_EQ(WindowPixel(2 * x + dx, 2 * y + dy), frame[y * kScreenWidth + x]) << x << "," << y;
      }
    }
  }
}

TEST_F(SdlWindowTest, AtOneAndAHalfNoColumnOfTheDitherIsTwiceAsWideAsItsNeighbour) {
  platform_->display.ShowMainWindow();
  const std::vector<uint32_t> frame = StripedFrame();
  platform_->display.Present(frame.data());
  Resize(1200, 900);
  // Nearest-neighbour alone would draw the stripes 1 and 2 pixels wide by turns, each at
  // full black or white. Smoothed, the light that a frame column gives is spread evenly.
  int pureRuns = 0;
  double light = 0;
  for (int x = 0; x < 1200; ++x) {
    const uint32_t p = WindowPixel(x, 450);
    light += p & 0xFF;
    if (x > 0 && p == WindowPixel(x - 1, 450) && (p == 0 || p == 0xFFFFFF)) ++pureRuns;
  }
  EXPECT_LT(pureRuns, 10) << "stripes of doubled width";
  EXPECT_NEAR(light / 1200, 127.5, 8) << "half the columns are white";
}

TEST(SharpScaleTest, TheWholeScaleAndWhenItIsExact) {
  EXPECT_EQ(WholeScale(800, 600), 1);
  EXPECT_EQ(WholeScale(1200, 900), 1);
  EXPECT_EQ(WholeScale(1600, 1200), 2);
  EXPECT_EQ(WholeScale(1920, 1080), 1);
  EXPECT_EQ(WholeScale(3840, 2160), 3);
  EXPECT_EQ(WholeScale(400, 300), 1) << "a window smaller than the frame still draws it";
  EXPECT_TRUE(ExactWholeScale(800, 600));
  EXPECT_TRUE(ExactWholeScale(1600, 1300)) << "letterboxed top and bottom at exactly 2x";
  EXPECT_TRUE(ExactWholeScale(1700, 1200)) << "letterboxed left and right at exactly 2x";
  EXPECT_FALSE(ExactWholeScale(1200, 900));
  EXPECT_FALSE(ExactWholeScale(1920, 1080));
  EXPECT_FALSE(ExactWholeScale(400, 300));
}

TEST_F(SdlWindowTest, ExposeRepaintsTheLastFrame) {
  platform_->display.ShowMainWindow();
  const std::vector<uint32_t> frame = TestFrame();
  platform_->display.Present(frame.data());
  // Another window drew over ours.
  SDL_Surface* surface = SDL_GetWindowSurface(Window());
  ASSERT_NE(surface, nullptr);
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 0, 0));
  ASSERT_EQ(WindowPixel(123, 456), 0xFF0000u);

  PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
  EXPECT_TRUE(Events().empty());
  EXPECT_EQ(WindowPixel(123, 456), frame[456 * kScreenWidth + 123]);
}

TEST_F(SdlWindowTest, FullScreenAndBackRestoresTheWindowRectangle) {
  platform_->display.ShowMainWindow();
  const WindowRect desktop = platform_->display.DesktopRect();
  ASSERT_GT(desktop.Width, 0);
  ASSERT_GT(desktop.Height, 0);

  const WindowRect saved{.Left = 40, .Top = 30, .Width = 800, .Height = 600};
  platform_->display.SetWindowRect(saved);
  ASSERT_EQ(platform_->display.GetWindowRect(), saved);

  platform_->display.SetFullScreen(true);
  Events();
  EXPECT_TRUE(platform_->display.IsFullScreen());
  EXPECT_NE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
  const WindowRect full = platform_->display.GetWindowRect();
  EXPECT_EQ(full.Width, desktop.Width);
  EXPECT_EQ(full.Height, desktop.Height);

  platform_->display.SetFullScreen(false);
  EXPECT_FALSE(platform_->display.IsFullScreen());
  platform_->display.SetWindowRect(saved);
  Events();
  const WindowRect restored = platform_->display.GetWindowRect();
  EXPECT_EQ(restored.Width, saved.Width);
  EXPECT_EQ(restored.Height, saved.Height);
  EXPECT_EQ(restored.Left, saved.Left);
  EXPECT_EQ(restored.Top, saved.Top);
}

TEST_F(SdlWindowTest, RectangleAskedForWhileHiddenHoldsAfterShowingAndEveryFullScreenTrip) {
  // As the game starts: placed while hidden, read back at once, shown later.
  platform_->display.SetWindowRect({.Left = 240, .Top = 212, .Width = 800, .Height = 600});
  const WindowRect saved = platform_->display.GetWindowRect();
  EXPECT_EQ(saved, (WindowRect{.Left = 240, .Top = 212, .Width = 800, .Height = 600}));
  platform_->display.ShowMainWindow();
  Events();
  EXPECT_EQ(platform_->display.GetWindowRect(), saved);

  for (int trip = 0; trip < 3; ++trip) {
    platform_->display.SetFullScreen(true);
    Events();
    ASSERT_TRUE(platform_->display.IsFullScreen());
    platform_->display.SetFullScreen(false);
    platform_->display.SetWindowRect(saved);
    Events();
    EXPECT_EQ(platform_->display.GetWindowRect(), saved) << "trip " << trip;
  }
}

TEST_F(SdlWindowTest, FullScreenRepaintsTheLastFrameScaled) {
  platform_->display.ShowMainWindow();
  const std::vector<uint32_t> frame = TestFrame();
  platform_->display.Present(frame.data());
  platform_->display.SetFullScreen(true);
  Events();
  const WindowRect full = platform_->display.GetWindowRect();
  ASSERT_TRUE(platform_->display.IsFullScreen());
  // The middle of the screen shows the middle of the frame, whatever the scale; at a scale
  // that is no whole multiple, smoothed with its neighbours, which differ by one step.
  const uint32_t shown = WindowPixel(full.Width / 2, full.Height / 2);
  const uint32_t want = frame[300 * kScreenWidth + 400];
  for (int shift : {0, 8, 16}) {
    EXPECT_NEAR(static_cast<int>((shown >> shift) & 0xFF), static_cast<int>((want >> shift) & 0xFF), 2) << shift;
  }
}

TEST_F(SdlWindowTest, ClicksArriveInFrameCoordinates) {
  Resize(800, 600);
  PushClick(15, 25);
  PushClick(30, 40, SDL_BUTTON_RIGHT);
  std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Kind::MouseDown);
  EXPECT_EQ(events[0].x, 15);
  EXPECT_EQ(events[0].y, 25);

  Resize(1600, 1200);
  PushClick(801, 601);
  PushClick(1599, 1199);
  events = Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].x, 400);
  EXPECT_EQ(events[0].y, 300);
  EXPECT_EQ(events[1].x, 799);
  EXPECT_EQ(events[1].y, 599);
}

TEST_F(SdlWindowTest, ClicksOnTheLetterboxBarsAreIgnored) {
  Resize(1600, 600);
  PushClick(100, 300);
  PushClick(1500, 300);
  PushClick(400 + 5, 7);
  const std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].x, 5);
  EXPECT_EQ(events[0].y, 7);
}

TEST_F(SdlWindowTest, WarpMouseAimsAtTheScaledFramePixel) {
  platform_->display.ShowMainWindow();
  Resize(1600, 1200);
  int x = 0;
  int y = 0;
  platform_->input.WarpMouse(400, 300);
  SDL_GetMouseState(&x, &y);
  EXPECT_EQ(x / 2, 400);
  EXPECT_EQ(y / 2, 300);

  platform_->input.WarpMouse(-50, 9999);
  SDL_GetMouseState(&x, &y);
  EXPECT_EQ(x / 2, 0);
  EXPECT_EQ(y / 2, 599);

  Resize(1600, 600);
  platform_->input.WarpMouse(10, 20);
  SDL_GetMouseState(&x, &y);
  EXPECT_EQ(x, 410);
  EXPECT_EQ(y, 20);
}

TEST_F(SdlWindowTest, KeyPressesAndTextAreReported) {
  PushKey(SDL_SCANCODE_SPACE, SDLK_SPACE);
  PushKey(SDL_SCANCODE_SPACE, SDLK_SPACE, /*repeat=*/true);
  PushKey(SDL_SCANCODE_F5, SDLK_F5);
  PushKey(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER);
  PushKey(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  text.text.windowID = SDL_GetWindowID(Window());
  SDL_strlcpy(text.text.text, "あい", sizeof(text.text.text));
  Push(text);

  const std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, Kind::KeyPressed);
  EXPECT_EQ(events[0].vk, kVkSpace);
  EXPECT_EQ(events[1].vk, kVkReturn);
  EXPECT_EQ(events[2].vk, 8);
  EXPECT_EQ(events[3].kind, Kind::TextInput);
  EXPECT_EQ(events[3].text, "あい");
}

TEST_F(SdlWindowTest, KeyPressesCarryShiftAndAlt) {
  PushKey(SDL_SCANCODE_A, SDLK_a, false, true, KMOD_CAPS);
  PushKey(SDL_SCANCODE_TAB, SDLK_TAB, false, true, KMOD_RSHIFT);
  PushKey(SDL_SCANCODE_7, SDLK_7, false, true, KMOD_LALT | KMOD_NUM);
  PushKey(SDL_SCANCODE_HOME, SDLK_HOME, false, true, KMOD_RALT | KMOD_LSHIFT);
  // Ctrl is not a modifier the game tells apart.
  PushKey(SDL_SCANCODE_DELETE, SDLK_DELETE, false, true, KMOD_LCTRL);

  const std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 5u);
  const std::pair<int, int> expected[] = {
      {'A', 0}, {kVkTab, kModShift}, {'7', kModAlt}, {kVkHome, kModShift | kModAlt}, {kVkDelete, 0}};
  for (size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(events[i].kind, Kind::KeyPressed) << i;
    EXPECT_EQ(events[i].vk, expected[i].first) << i;
    EXPECT_EQ(events[i].mods, expected[i].second) << i;
  }
}

TEST_F(SdlWindowTest, CompositionTextIsReportedAndEmptyEndsIt) {
  SDL_Event editing{};
  editing.type = SDL_TEXTEDITING;
  editing.edit.windowID = SDL_GetWindowID(Window());
  SDL_strlcpy(editing.edit.text, "かな", sizeof(editing.edit.text));
  Push(editing);
  // Longer than the fixed-size event holds: SDL hands over a text of its own.
  const std::string longText = "とてもながいへんかんちゅうのもじれつです";
  SDL_Event longEditing{};
  longEditing.type = SDL_TEXTEDITING_EXT;
  longEditing.editExt.windowID = SDL_GetWindowID(Window());
  longEditing.editExt.text = SDL_strdup(longText.c_str());
  Push(longEditing);
  SDL_Event ended{};
  ended.type = SDL_TEXTEDITING;
  ended.edit.windowID = SDL_GetWindowID(Window());
  Push(ended);

  const std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 3u);
  for (const PlatformEvent& event : events) {
    EXPECT_EQ(event.kind, Kind::TextEditing);
  }
  EXPECT_EQ(events[0].text, "かな");
  EXPECT_EQ(events[1].text, longText);
  EXPECT_EQ(events[2].text, "");
}

TEST_F(SdlWindowTest, ClosingTheWindowIsReportedOnce) {
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  Push(quit);
  std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Kind::CloseRequested);

  // A quit on its own (Ctrl+C in the terminal) closes the game too.
  Push(quit);
  events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Kind::CloseRequested);
}

TEST_F(SdlWindowTest, ClosePendingSeesACloseWithoutTakingItOffTheQueue) {
  EXPECT_FALSE(platform_->input.ClosePending());
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  EXPECT_TRUE(platform_->input.ClosePending());
  EXPECT_TRUE(platform_->input.ClosePending()) << "asking twice does not use it up";
  std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Kind::CloseRequested);
  EXPECT_FALSE(platform_->input.ClosePending()) << "once reported, it is no longer pending";
}

TEST_F(SdlWindowTest, KeyDownReadsTheCurrentKeyState) {
  EXPECT_FALSE(platform_->input.KeyDown(kVkSpace));
  SetKeyState(SDL_SCANCODE_SPACE, true);
  EXPECT_TRUE(platform_->input.KeyDown(kVkSpace));
  EXPECT_FALSE(platform_->input.KeyDown(kVkReturn));

  SetKeyState(SDL_SCANCODE_KP_ENTER, true);
  EXPECT_TRUE(platform_->input.KeyDown(kVkReturn));

  // A held key with a number the game does not poll stays invisible.
  SetKeyState(SDL_SCANCODE_BACKSPACE, true);
  EXPECT_FALSE(platform_->input.KeyDown(8));

  SetKeyState(SDL_SCANCODE_SPACE, false);
  EXPECT_FALSE(platform_->input.KeyDown(kVkSpace));
}

TEST_F(SdlWindowTest, KeysHeldAtFocusLossReadUpUntilPressedAgain) {
  PushKey(SDL_SCANCODE_LEFT, SDLK_LEFT);
  SetKeyState(SDL_SCANCODE_LEFT, true);
  ASSERT_TRUE(platform_->input.KeyDown(kVkLeft));
  ASSERT_EQ(Events().size(), 1u);

  // What SDL does on X11 when another window takes the focus with Left held: it releases the
  // key, reports the loss, and presses the key again when the focus comes back.
  PushKey(SDL_SCANCODE_LEFT, SDLK_LEFT, /*repeat=*/false, /*down=*/false);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  // Cleared before the game takes the focus loss off the queue.
  EXPECT_FALSE(platform_->input.KeyDown(kVkLeft));
  std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, Kind::FocusLost);

  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushKey(SDL_SCANCODE_LEFT, SDLK_LEFT);
  EXPECT_FALSE(platform_->input.KeyDown(kVkLeft));
  events = Events();
  ASSERT_EQ(events.size(), 1u) << "the repeat of the key still held is not a key press";
  EXPECT_EQ(events[0].kind, Kind::FocusGained);
  PushKey(SDL_SCANCODE_LEFT, SDLK_LEFT, /*repeat=*/true);
  EXPECT_FALSE(platform_->input.KeyDown(kVkLeft));

  PushKey(SDL_SCANCODE_LEFT, SDLK_LEFT, /*repeat=*/false, /*down=*/false);
  SetKeyState(SDL_SCANCODE_LEFT, false);
  EXPECT_FALSE(platform_->input.KeyDown(kVkLeft));
  PushKey(SDL_SCANCODE_LEFT, SDLK_LEFT);
  SetKeyState(SDL_SCANCODE_LEFT, true);
  EXPECT_TRUE(platform_->input.KeyDown(kVkLeft));
  events = Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].vk, kVkLeft);
}

TEST_F(SdlWindowTest, KeysUpAtFocusLossWorkAtOnceAfterwards) {
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushKey(SDL_SCANCODE_SPACE, SDLK_SPACE);
  SetKeyState(SDL_SCANCODE_SPACE, true);
  EXPECT_TRUE(platform_->input.KeyDown(kVkSpace));
}

TEST_F(SdlWindowTest, KeyLetGoLongBeforeAFocusRoundTripWorksOnItsNextPress) {
  PushKey(SDL_SCANCODE_F4, SDLK_F4);
  SetKeyState(SDL_SCANCODE_F4, true);
  ASSERT_TRUE(platform_->input.KeyDown(kVkF4));
  ASSERT_EQ(Events().size(), 1u);
  PushKey(SDL_SCANCODE_F4, SDLK_F4, /*repeat=*/false, /*down=*/false);
  SetKeyState(SDL_SCANCODE_F4, false);
  ASSERT_FALSE(platform_->input.KeyDown(kVkF4));

  // The player let go of F4 and, with nothing else happening, switched windows a while later.
  SDL_Delay(3 * HeldKeyFilter::kLossReleaseMs + 20);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushKey(SDL_SCANCODE_F4, SDLK_F4);
  SetKeyState(SDL_SCANCODE_F4, true);
  EXPECT_TRUE(platform_->input.KeyDown(kVkF4));
  const std::vector<PlatformEvent> events = Events();
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, Kind::FocusLost);
  EXPECT_EQ(events[1].kind, Kind::FocusGained);
  EXPECT_EQ(events[2].kind, Kind::KeyPressed);
  EXPECT_EQ(events[2].vk, kVkF4);
}

TEST_F(SdlWindowTest, WindowEventsStayQueuedWhileKeysArePolled) {
  PushClick(10, 10);
  EXPECT_FALSE(platform_->input.KeyDown(kVkEscape));
  EXPECT_FALSE(platform_->input.KeyDown(kVkF4));
  EXPECT_EQ(Events().size(), 1u);
}

}  // namespace
}  // namespace kav
