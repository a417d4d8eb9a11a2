#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/png_io.h"
#include "base/ticks.h"
#include "platform/headless/bounded_log.h"
#include "platform/headless/headless_audio.h"
#include "platform/headless/headless_joystick.h"
#include "support/temp_dir.h"

namespace kav {
namespace {

TEST(HeadlessPlatform, SleepAdvancesTheVirtualClockAtOnce) {
  HeadlessPlatform p;
  EXPECT_EQ(p.Ticks(), 0);
  p.Sleep(30);
  p.Sleep(0);
  p.Sleep(-5);
  EXPECT_EQ(p.Ticks(), 30);
  int calls = 0;
  p.onSleep = [&](HeadlessPlatform&) { ++calls; };
  p.Sleep(1);
  EXPECT_EQ(calls, 1);
}

TEST(HeadlessPlatform, TickCountWrapsAtTwoToTheThirtyFirst) {
  HeadlessPlatform p;
  p.SetTickBase(2147483647 - 10);
  EXPECT_EQ(p.Ticks(), 2147483637);
  const int32_t before = p.Ticks();
  p.Sleep(11);
  EXPECT_EQ(p.Ticks(), INT32_MIN);
  EXPECT_EQ(TickDiff(p.Ticks(), before), 11) << "a span across the wrap";
  EXPECT_EQ(p.Now(), 11) << "virtual time itself never wraps";
  p.SetTickBase(4294967295LL);
  EXPECT_EQ(p.Ticks(), 10) << "a base beyond 2^31 is the unsigned counter's value";
  EXPECT_EQ(TickAdd(INT32_MAX, 1), INT32_MIN);
  EXPECT_EQ(TickDiff(INT32_MIN, INT32_MAX), 1);
  EXPECT_EQ(TickDiff(5, 7), -2);
}

TEST(HeadlessPlatform, SleepHookMayStopInsideASleep) {
  struct Recorder : SleepHook {
    std::vector<std::pair<int64_t, int64_t>> calls;  // now, until
    void Sleeping(HeadlessPlatform& p, int64_t until) override {
      calls.emplace_back(p.Now(), until);
      p.AdvanceTo(p.Now() + 3);
      p.SetKey(kVkSpace, true);
    }
  } hook;
  HeadlessPlatform p;
  p.sleepHook = &hook;
  p.Sleep(10);
  ASSERT_EQ(hook.calls.size(), 1u);
  EXPECT_EQ(hook.calls[0], (std::pair<int64_t, int64_t>{0, 10}));
  EXPECT_EQ(p.Now(), 10) << "the sleep still runs to its end";
  EXPECT_TRUE(p.KeyDown(kVkSpace));
}

TEST(HeadlessPlatform, ScriptedKeysFollowTheClock) {
  HeadlessPlatform p;
  p.HoldKey(kVkSpace, 10, 20);
  EXPECT_FALSE(p.KeyDown(kVkSpace));
  p.Sleep(10);
  EXPECT_TRUE(p.KeyDown(kVkSpace));
  EXPECT_FALSE(p.KeyDown(kVkReturn));
  p.Sleep(10);
  EXPECT_FALSE(p.KeyDown(kVkSpace));
  p.SetKey(kVkLeft, true);
  EXPECT_TRUE(p.KeyDown(kVkLeft));
  p.SetKey(kVkLeft, false);
  EXPECT_FALSE(p.KeyDown(kVkLeft));
}

TEST(HeadlessPlatform, EventsArriveWhenDueAndOnce) {
  HeadlessPlatform p;
  p.QueueEventAt(5, PlatformEvent::Click(1, 2));
  p.QueueEventAt(0, PlatformEvent::Close());
  auto first = p.PollEvents();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_EQ(first[0].kind, PlatformEvent::Kind::CloseRequested);
  p.Sleep(5);
  auto second = p.PollEvents();
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].x, 1);
  EXPECT_TRUE(p.PollEvents().empty());
}

TEST(HeadlessPlatform, FocusLossClearsHeldKeysUntilReleased) {
  HeadlessPlatform p;
  p.HoldKey(kVkRight, 0, 100);
  p.HoldKey(kVkRight, 150, 200);
  p.QueueEventAt(10, PlatformEvent::Focus());
  EXPECT_TRUE(p.KeyDown(kVkRight));
  p.Sleep(10);
  p.PollEvents();
  EXPECT_FALSE(p.KeyDown(kVkRight)) << "held through the focus loss";
  p.Sleep(100);
  EXPECT_FALSE(p.KeyDown(kVkRight));
  p.Sleep(50);
  EXPECT_TRUE(p.KeyDown(kVkRight)) << "a new press counts again";
}

TEST(HeadlessPlatform, LogsDisplayCallsAndKeepsTheWindowRect) {
  HeadlessPlatform p;
  p.CreateMainWindow();
  p.SetWindowRect({10, 20, 800, 600});
  p.SetFullScreen(true);
  EXPECT_EQ(p.GetWindowRect(), p.DesktopRect());
  p.SetFullScreen(false);
  EXPECT_EQ(p.GetWindowRect(), (WindowRect{10, 20, 800, 600}));
  std::vector<uint32_t> frame(kScreenWidth * kScreenHeight, 0x123456);
  p.Present(frame.data());
  EXPECT_EQ(p.PresentCount(), 1);
  EXPECT_EQ(p.LastFrame(), frame);
  const std::vector<std::string> expected = {"create-window", "window-rect 10,20,800,600", "fullscreen-on",
                                             "fullscreen-off", "present"};
  EXPECT_EQ(p.DisplayLog(), expected);
}

TEST(HeadlessPlatform, CapturesTheLastFrameAsPng) {
  HeadlessPlatform p;
  EXPECT_FALSE(p.SaveLastFrame("/tmp/never-written.png")) << "nothing presented yet";
  std::vector<uint32_t> frame(kScreenWidth * kScreenHeight, 0x000000);
  frame[123 * kScreenWidth + 45] = 0xFF8800;
  p.Present(frame.data());
  const auto path = std::filesystem::temp_directory_path() / ("kav_capture_" + std::to_string(::getpid()) + ".png");
  ASSERT_TRUE(p.SaveLastFrame(path.string()));
  const auto image = ReadPng(path.string());
  std::filesystem::remove(path);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, kScreenWidth);
  EXPECT_EQ(image->pixels, frame);
}

TEST(HeadlessLogs, AFullLogDropsItsOlderHalfAndKeepsTheOrder) {
  std::vector<int> log;
  for (int i = 0; i < 10; ++i) {
    AppendBounded(log, i, 4);
    EXPECT_LE(log.size(), 4u);
    EXPECT_EQ(log.back(), i);
  }
  EXPECT_EQ(log, (std::vector<int>{6, 7, 8, 9}));
  std::vector<int> whole;
  for (int i = 0; i < 10; ++i) AppendBounded(whole, i, 0);
  EXPECT_EQ(whole.size(), 10u) << "no limit keeps everything";
}

// The runner and the benchmarks play for hours: a present, a sound call or an effect each frame
// must not make the process grow.
TEST(HeadlessLogs, LongRunsKeepTheLatestCallsOnly) {
  HeadlessPlatform p;
  std::vector<uint32_t> frame(kScreenWidth * kScreenHeight, 0);
  for (int i = 0; i < 20000; ++i) p.Present(frame.data());
  p.WarpMouse(1, 2);
  EXPECT_EQ(p.PresentCount(), 20000);
  const auto& display = p.DisplayLog();
  EXPECT_LE(display.size(), kHeadlessLogLimit);
  EXPECT_GE(display.size(), kHeadlessLogLimit / 2);
  EXPECT_EQ(display.back(), "warp-mouse 1,2");
  EXPECT_EQ(display[display.size() - 2], "present");

  test::TempDir dir;
  // 8-bit mono PCM, four samples.
  const char wave[] =
      "RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0"
      "data\x04\0\0\0\x80\x90\x70\x80";
  std::ofstream(dir.File("a.wav"), std::ios::binary).write(wave, sizeof wave - 1);
  HeadlessAudio audio;
  ASSERT_TRUE(audio.Open());
  ASSERT_TRUE(audio.Load(1, dir.File("a.wav")));
  for (int i = 0; i < 20000; ++i) audio.SetVolume(1, -(i % 5000));
  audio.Play(1, true);
  EXPECT_LE(audio.Log().size(), kHeadlessLogLimit);
  EXPECT_EQ(audio.Log().back(), "loop 1");
  EXPECT_EQ(audio.Log()[audio.Log().size() - 2], "volume 1 -4999");
  EXPECT_EQ(audio.Volume(1), -4999);

  HeadlessPad pad{.attached = true, .kind = HeadlessPad::Kind::Haptic};
  HeadlessJoystick joystick(pad);
  ASSERT_TRUE(joystick.Open());
  ForceEffectParams params;
  for (int i = 0; i < 20000; ++i) {
    params.magnitude = i;
    joystick.StartEffect("guid", params);
  }
  joystick.StopEffect("guid", params);
  EXPECT_LE(joystick.log.size(), kHeadlessLogLimit);
  EXPECT_FALSE(joystick.log.back().start);
  EXPECT_EQ(joystick.log[joystick.log.size() - 2].params.magnitude, 19999);
  EXPECT_TRUE(joystick.log[joystick.log.size() - 2].start);
}

}  // namespace
}  // namespace kav
