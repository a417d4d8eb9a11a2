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
  // Puts the last frame presented on the canvas. Called as the game begins to wait: the page
  // paints only then, and the turning of the pixels is no longer part of the game's frame.
  void Flush();

 private:
  // The screen's own frame buffer, which lives as long as the game and changes only just before
  // it is presented again.
  const uint32_t* pending_ = nullptr;
  std::vector<uint32_t> rgba_;  // the frame as the canvas takes it
};

}  // namespace kav
