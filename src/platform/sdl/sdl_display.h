#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/display.h"
#include "platform/sdl/sharp_scale.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace kav {

// The game's window on SDL: one streaming texture of the 800 x 600 frame, scaled to the window
// with sharp pixels and the aspect kept.
class SdlDisplay final : public Display {
 public:
  SdlDisplay() = default;
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  // Throws std::runtime_error when SDL cannot give us a window.
  void CreateMainWindow() override;
  void ShowMainWindow() override;
  void Present(const uint32_t* frame) override;
  void SetFullScreen(bool on) override;
  bool IsFullScreen() override;
  WindowRect GetWindowRect() override;
  void SetWindowRect(const WindowRect& rect) override;
  WindowRect DesktopRect() override;
  void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) override;

  SDL_Window* NativeWindow() const { return window_; }
  SDL_Renderer* Renderer() const { return renderer_; }
  // A frame pixel's position in the window's own coordinates (the frame is scaled to fit).
  void FrameToWindow(int x, int y, int& windowX, int& windowY) const;
  // Draws the last frame again (the window was uncovered, resized, or its device lost).
  void Repaint();
  // Frames presented are shown when the game next waits (ShowPending), at most a frame period
  // late: a frame that presents twice (the clock strip, then the helicopter) then reaches the
  // screen once, at the same point of every frame. Off, every present shows at once.
  void SetPresentAtWait(bool on) { presentAtWait_ = on; }
  void ShowPending();
  // Told once the window exists, before anything is queued for it.
  std::function<void()> onWindowCreated;

 private:
  void Settle();
  void PlaceFramedWindow(int left, int top);

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  uint32_t initFlags_ = 0;
  std::vector<uint32_t> lastFrame_;
  SharpScaler scaler_;
  static constexpr uint64_t kLongestHoldMs = 16;
  bool presentAtWait_ = false;
  bool pending_ = false;
  uint64_t pendingSince_ = 0;
};

}  // namespace kav
