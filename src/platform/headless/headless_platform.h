#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace kav {

// The platform for tests, replays and benchmarks: a virtual clock that a sleep advances at
// once, keys and window events scripted against that clock, a log of display calls and the
// last presented frame.
class HeadlessPlatform final : public Platform {
 public:
  explicit HeadlessPlatform(std::string programDir = "./");

  // Script. Times are virtual milliseconds; events at or before now take effect at once.
  void HoldKey(int vk, int32_t fromMs, int32_t untilMs);
  void PressKeyAt(int vk, int32_t atMs, int32_t durationMs = 50) { HoldKey(vk, atMs, atMs + durationMs); }
  void SetKey(int vk, bool down);  // immediate, until changed
  void QueueEventAt(int32_t atMs, PlatformEvent event);
  // Called after every sleep, so a test can react to what the game has done so far.
  std::function<void(HeadlessPlatform&)> onSleep;

  void SetDate(int month, int day) {
    month_ = month;
    day_ = day;
  }
  void SetSecondsSinceMidnight(double s) { secondsSinceMidnight_ = s; }
  void SetDesktop(WindowRect r) { desktop_ = r; }
  void SetInstanceLockHeld(bool heldByOther) { lockHeldByOther_ = heldByOther; }

  // Observation.
  const std::vector<std::string>& DisplayLog() const { return displayLog_; }
  void ClearDisplayLog() { displayLog_.clear(); }
  const std::vector<uint32_t>& LastFrame() const { return lastFrame_; }
  int PresentCount() const { return presentCount_; }
  bool WindowCreated() const { return windowCreated_; }
  bool WindowShown() const { return windowShown_; }
  bool SaveLastFrame(const std::string& pngPath) const;
  std::vector<std::string> FatalMessages() const { return fatalMessages_; }

  // Platform.
  int32_t Ticks() override { return now_; }
  void Sleep(int32_t ms) override;
  void LocalDate(int& month, int& day) override {
    month = month_;
    day = day_;
  }
  double SecondsSinceMidnight() override { return secondsSinceMidnight_ + now_ / 1000.0; }
  std::vector<PlatformEvent> PollEvents() override;
  bool KeyDown(int vk) override;
  bool ClosePending() override;
  void CreateMainWindow() override;
  void ShowMainWindow() override;
  void Present(const uint32_t* frame) override;
  void SetFullScreen(bool on) override;
  bool IsFullScreen() override { return fullScreen_; }
  WindowRect GetWindowRect() override;
  void SetWindowRect(const WindowRect& rect) override;
  WindowRect DesktopRect() override { return desktop_; }
  void WarpMouse(int x, int y) override;
  std::string ProgramDir() override { return programDir_; }
  bool AcquireSingleInstanceLock() override { return !lockHeldByOther_; }
  void ShowFatalMessage(const std::string& title, const std::string& text) override;

 private:
  struct Hold {
    int vk;
    int32_t from;
    int32_t until;
  };
  struct Timed {
    int32_t at;
    PlatformEvent event;
  };

  int32_t now_ = 0;
  std::string programDir_;
  std::vector<Hold> holds_;
  std::map<int, bool> setKeys_;
  std::vector<Timed> events_;
  // Keys that were down when focus was lost read as up until they have been released.
  std::vector<int> suppressed_;
  int month_ = 4;
  int day_ = 22;
  double secondsSinceMidnight_ = 36000.0;
  WindowRect desktop_{0, 0, 1920, 1080};
  WindowRect window_{560, 240, 800, 600};
  bool fullScreen_ = false;
  bool windowCreated_ = false;
  bool windowShown_ = false;
  bool lockHeldByOther_ = false;
  int presentCount_ = 0;
  std::vector<uint32_t> lastFrame_;
  std::vector<std::string> displayLog_;
  std::vector<std::string> fatalMessages_;

  bool ScriptedDown(int vk) const;
};

}  // namespace kav
