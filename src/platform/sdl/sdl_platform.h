#pragma once

#include <array>
#include <bitset>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_places.h"
#include "platform/instance_lock.h"
#include "platform/platform.h"
#include "platform/sdl/sharp_scale.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct SDL_Cursor;
union SDL_Event;

namespace kav {

// The SDL scancode read for a virtual key the game polls; 0 for every other number.
int ScancodeForVk(int vk);

// The virtual-key number a key press reports to the game (the polled keys, letters, digits and
// the editing keys a text dialog needs); 0 for keys the game ignores. Letters follow the keyboard
// layout (keycode), the other keys their position (scancode).
int VkForKey(int scancode, int keycode);

// Keys held when the window loses focus must not stay down: each reads as up until the player
// releases it and presses it again. Fed with the keyboard and window events in queue order, with
// their SDL timestamps (milliseconds).
class HeldKeyFilter {
 public:
  // False when the press is not the player's: a key held since a focus loss.
  bool KeyPressed(int scancode, bool repeat);
  void KeyReleased(int scancode, uint32_t ms);
  void FocusLost(uint32_t ms);
  // Any other event.
  void OtherEvent() { releaseRun_.reset(); }
  bool Passes(int scancode) const;

  static constexpr size_t kScancodeCount = 512;
  // SDL queues its own releases and the focus loss in one go; a release further from the loss
  // than this was the player's.
  static constexpr uint32_t kLossReleaseMs = 2;

 private:
  static bool Valid(int scancode) { return scancode >= 0 && scancode < int{kScancodeCount}; }

  std::bitset<kScancodeCount> held_;
  // Keys released by the unbroken run of releases just before the current event.
  std::bitset<kScancodeCount> releaseRun_;
  std::array<uint32_t, kScancodeCount> releasedAt_{};
  std::bitset<kScancodeCount> stale_;
  std::bitset<kScancodeCount> releasedSinceLoss_;
};

struct LocalClock {
  int Month = 1;  // 1..12
  int Day = 1;    // 1..31
  double SecondsSinceMidnight = 0;
};
LocalClock LocalClockAt(std::chrono::system_clock::time_point when);

// The real game's platform: one SDL window with an 800 x 600 frame scaled to fit it.
class SdlPlatform final : public Platform {
 public:
  SdlPlatform() = default;
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  int32_t Ticks() override;
  void Sleep(int32_t ms) override;
  // Run every few milliseconds while the game sleeps (a pad's pulses are timed by it).
  void SetIdleTask(std::function<void()> task) { idleTask_ = std::move(task); }
  void LocalDate(int& month, int& day) override;
  double SecondsSinceMidnight() override;

  std::vector<PlatformEvent> PollEvents() override;
  void WaitForEvent(int32_t timeoutMs) override;
  bool KeyDown(int vk) override;
  bool ClosePending() override;

  // Throws std::runtime_error when SDL cannot give us a window.
  void CreateMainWindow() override;
  void ShowMainWindow() override;
  void Present(const uint32_t* frame) override;
  void SetFullScreen(bool on) override;
  bool IsFullScreen() override;
  WindowRect GetWindowRect() override;
  void SetWindowRect(const WindowRect& rect) override;
  WindowRect DesktopRect() override;
  void WarpMouse(int x, int y) override;
  void SetPointerOver(const PointerShape* shape, const WindowRect& area) override;

  std::string ProgramDir() override;
  std::string RecordDir() override;
  bool RecordDirWritable() override;
  void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) override;
  bool AcquireSingleInstanceLock() override;
  void ShowFatalMessage(const std::string& title, const std::string& text) override;

  SDL_Window* NativeWindow() const { return window_; }
  // A frame pixel's position in the window's own coordinates (the frame is scaled to fit).
  void FrameToWindow(int x, int y, int& windowX, int& windowY) const;

 private:
  static int WatchEvent(void* self, SDL_Event* event);
  bool ScancodeDown(const uint8_t* state, int scancode) const;
  void Repaint();
  void Settle();
  void PlaceFramedWindow(int left, int top);
  void UpdatePointer(int frameX, int frameY);

  std::function<void()> idleTask_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  uint32_t initFlags_ = 0;
  bool watching_ = false;
  std::vector<uint32_t> lastFrame_;
  std::optional<FilePlaces> places_;
  SharpScaler scaler_;
  const FilePlaces& Places();
  static std::string ExecutableDir();
  HeldKeyFilter heldKeys_;
  bool closePending_ = false;
  bool repaintPending_ = false;
  SDL_Cursor* shapedCursor_ = nullptr;
  const PointerShape* pointerShape_ = nullptr;
  WindowRect pointerArea_;
  bool pointerShaped_ = false;

  void PumpWithoutDispatch();
  InstanceLock instanceLock_;
};

}  // namespace kav
