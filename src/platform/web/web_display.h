#pragma once

#include "platform/display.h"

namespace kav {

// The 800 x 600 frame on the page's canvas, scaled to fit with the aspect kept; full screen
// through the Fullscreen API. The window's rectangle is the canvas's place on the page.
class WebDisplay final : public Display {
 public:
  void CreateMainWindow() override {}
  void ShowMainWindow() override;
  void Present(const uint32_t* frame) override;
  void SetFullScreen(bool on) override;
  bool IsFullScreen() override;
  WindowRect GetWindowRect() override;
  // The page lays the canvas out; a saved rectangle needs no restoring.
  void SetWindowRect(const WindowRect& rect) override;
  WindowRect DesktopRect() override;
  void SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) override;

 private:
  std::vector<uint32_t> rgba_;  // the frame as the canvas takes it
};

}  // namespace kav
