#pragma once

#include <cstdint>
#include <vector>

namespace kav {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;

// In the window system's units (pixels here).
struct WindowRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  bool operator==(const WindowRect&) const = default;
};

// The game's one window and the picture in it.
class Display {
 public:
  virtual ~Display() = default;
  virtual void CreateMainWindow() = 0;  // exists but is hidden
  virtual void ShowMainWindow() = 0;
  virtual void Present(const uint32_t* frame) = 0;  // kScreenWidth x kScreenHeight, 0x00RRGGBB
  virtual void SetFullScreen(bool on) = 0;
  virtual bool IsFullScreen() = 0;
  virtual WindowRect GetWindowRect() = 0;
  virtual void SetWindowRect(const WindowRect& rect) = 0;
  virtual WindowRect DesktopRect() = 0;
  // The window's icon, 0x00RRGGBB; a platform without a window ignores it.
  virtual void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) = 0;
};

}  // namespace kav
