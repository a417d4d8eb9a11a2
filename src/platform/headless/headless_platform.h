#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/headless/headless_joystick.h"
#include "platform/platform.h"
#include "platform/text_input.h"

namespace kav {

class HeadlessPlatform;

// Told at the start of every sleep of the game; may move virtual time to any point up to the
// sleep's end (AdvanceTo) and act there, before the sleep carries on to its end.
class SleepHook {
 public:
  virtual ~SleepHook() = default;
  virtual void Sleeping(HeadlessPlatform& platform, int64_t untilMs) = 0;
};

// The platform for tests, replays and benchmarks: a virtual clock that a sleep advances at
// once, keys and window events scripted against that clock, a log of the latest display calls
// and the last presented frame. One object serves every side, since the scripts tie input,
// display and files to the one virtual clock.
class HeadlessPlatform final : public Clock, public Display, public Input, public Files, public Messages {
 public:
  explicit HeadlessPlatform(std::string programDir = "./");

  // Script. Times are virtual milliseconds; events at or before now take effect at once.
  void HoldKey(int vk, int64_t fromMs, int64_t untilMs);
  void PressKeyAt(int vk, int64_t atMs, int64_t durationMs = 50) { HoldKey(vk, atMs, atMs + durationMs); }
  void SetKey(int vk, bool down);  // immediate, until changed
  bool KeySet(int vk) const;       // as SetKey left it
  void QueueEventAt(int64_t atMs, PlatformEvent event);
  void QueueEvent(PlatformEvent event) { QueueEventAt(now_, std::move(event)); }
  // Called after every sleep, so a test can react to what the game has done so far.
  std::function<void(HeadlessPlatform&)> onSleep;
  SleepHook* sleepHook = nullptr;

  // Virtual time: milliseconds since the start, never wrapping. The tick count the game reads
  // is the base plus this, wrapping like the real counter.
  int64_t Now() const { return now_; }
  void AdvanceTo(int64_t ms) {
    if (ms > now_) now_ = ms;
  }
  void SetTickBase(int64_t ticksAtZero) { tickBase_ = ticksAtZero; }
  HeadlessPad pad;

  void SetDate(int month, int day) {
    month_ = month;
    day_ = day;
  }
  void SetSecondsSinceMidnight(double s) { secondsSinceMidnight_ = s; }
  void SetDesktop(WindowRect r) { desktop_ = r; }
  void SetInstanceLockHeld(bool heldByOther) { lockHeldByOther_ = heldByOther; }
  // Whether the record directory (the program directory here) takes new files.
  bool recordsWritable = true;
  // The width of the last window icon given, 0 when none or a malformed one.
  int iconSize = 0;

  // Observation.
  const std::vector<std::string>& DisplayLog() const { return displayLog_; }
  void ClearDisplayLog() { displayLog_.clear(); }
  const std::vector<uint32_t>& LastFrame() const { return lastFrame_; }
  int PresentCount() const { return presentCount_; }
  bool WindowCreated() const { return windowCreated_; }
  bool WindowShown() const { return windowShown_; }
  bool SaveLastFrame(const std::string& pngPath) const;
  std::vector<std::string> FatalMessages() const { return fatalMessages_; }

  // Clock.
  int32_t Ticks() override {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(tickBase_ + now_)));
  }
  void Sleep(int32_t ms) override;
  void LocalDate(int& month, int& day) override {
    month = month_;
    day = day_;
  }
  double SecondsSinceMidnight() override { return secondsSinceMidnight_ + static_cast<double>(now_) / 1000.0; }
  // Input.
  std::vector<PlatformEvent> PollEvents() override;
  void WaitForEvent(int32_t timeoutMs) override;
  bool KeyDown(int vk) override;
  bool ClosePending() override;
  void WarpMouse(int x, int y) override;
  void SetPointerOver(const PointerShape* shape, const WindowRect& area) override {
    pointerShape_ = shape;
    pointerArea_ = area;
  }
  const PointerShape* PointerShapeShown() const { return pointerShape_; }
  const WindowRect& PointerArea() const { return pointerArea_; }
  // Display.
  void CreateMainWindow() override;
  void ShowMainWindow() override;
  void Present(const uint32_t* frame) override;
  void SetFullScreen(bool on) override;
  bool IsFullScreen() override { return fullScreen_; }
  WindowRect GetWindowRect() override;
  void SetWindowRect(const WindowRect& rect) override;
  WindowRect DesktopRect() override { return desktop_; }
  void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) override {
    iconSize = pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(height) ? width : 0;
  }
  RecordingTextInput textInput;
  // Files.
  std::string ProgramDir() override { return programDir_; }
  std::string RecordDir() override { return programDir_; }
  bool RecordDirWritable() override { return recordsWritable; }
  bool AcquireSingleInstanceLock() override { return !lockHeldByOther_; }
  // Messages.
  void ShowFatalMessage(const std::string& title, const std::string& text) override;

 private:
  struct Hold {
    int vk;
    int64_t from;
    int64_t until;
  };
  struct Timed {
    int64_t at;
    PlatformEvent event;
  };

  int64_t now_ = 0;
  int64_t tickBase_ = 0;
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

  const PointerShape* pointerShape_ = nullptr;
  WindowRect pointerArea_;

  bool ScriptedDown(int vk) const;
  bool EventDue() const;
};

}  // namespace kav
