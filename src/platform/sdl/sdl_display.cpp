#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include <stdexcept>
#include <string>

namespace kav {

namespace {

constexpr size_t kFramePixels = size_t{kScreenWidth} * kScreenHeight;
constexpr uint32_t kInitFlags = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER;

}  // namespace

SdlDisplay::~SdlDisplay() {
  scaler_.Release();
  if (texture_ != nullptr) {
    SDL_DestroyTexture(texture_);
  }
  if (renderer_ != nullptr) {
    SDL_DestroyRenderer(renderer_);
  }
  if (window_ != nullptr) {
    SDL_DestroyWindow(window_);
  }
  if (initFlags_ != 0) {
    SDL_QuitSubSystem(initFlags_);
    // Sound and joystick code may still hold their own parts of SDL; the last one out quits it.
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) {
      SDL_Quit();
    }
  }
}

void SdlDisplay::CreateMainWindow() {
  if (window_ != nullptr) {
    return;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  // Japanese compositions soon outgrow the fixed-size editing event.
  SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
  if (SDL_InitSubSystem(kInitFlags) != 0) {
    throw std::runtime_error(std::string("SDL could not start the display: ") + SDL_GetError());
  }
  initFlags_ = kInitFlags;

  window_ = SDL_CreateWindow("Kavrona", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth, kScreenHeight,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    throw std::runtime_error(std::string("SDL could not create the window: ") + SDL_GetError());
  }
  renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
  if (renderer_ == nullptr) {
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
  }
  if (renderer_ == nullptr) {
    throw std::runtime_error(std::string("SDL could not create a renderer: ") + SDL_GetError());
  }
  // Scales the frame to the window with the aspect kept; the rest is black bars. On a
  // high-density display the renderer works in the display's own pixels.
  SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth, kScreenHeight);
  if (texture_ == nullptr) {
    throw std::runtime_error(std::string("SDL could not create the frame texture: ") + SDL_GetError());
  }
  if (onWindowCreated) {
    onWindowCreated();
  }
  // SDL starts with text input on; the game's keys must not go to an input method until a
  // text field asks for it.
  SDL_StopTextInput();
}

void SdlDisplay::ShowMainWindow() {
  if (window_ == nullptr) {
    return;
  }
  const bool firstShow = (SDL_GetWindowFlags(window_) & SDL_WINDOW_HIDDEN) != 0 && !IsFullScreen();
  // Where the client area was asked to go; a hidden window reports just that.
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(window_, &left, &top);
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  if (firstShow) {
    PlaceFramedWindow(left, top);
  }
  Repaint();
}

void SdlDisplay::PlaceFramedWindow(int left, int top) {
  // An X11 window manager puts the frame, not the client area, where a window not yet mapped
  // asked to be, since SDL cannot allow for a frame it has not seen. Once the frame is known,
  // SDL's moves place the client area, as every later move (leaving full screen, say) does.
  constexpr Uint64 kFrameWaitMs = 100;
  const Uint64 deadline = SDL_GetTicks64() + kFrameWaitMs;
  int frameTop = 0;
  int frameLeft = 0;
  int frameBottom = 0;
  int frameRight = 0;
  for (;;) {
    SDL_PumpEvents();
    if (SDL_GetWindowBordersSize(window_, &frameTop, &frameLeft, &frameBottom, &frameRight) != 0) {
      // No frames on this video driver.
      return;
    }
    if (frameTop != 0 || frameLeft != 0 || frameBottom != 0 || frameRight != 0 || SDL_GetTicks64() >= deadline) {
      break;
    }
    SDL_Delay(1);
  }
  int shownLeft = 0;
  int shownTop = 0;
  SDL_GetWindowPosition(window_, &shownLeft, &shownTop);
  if (shownLeft != left || shownTop != top) {
    SDL_SetWindowPosition(window_, left, top);
    SDL_PumpEvents();
  }
}

void SdlDisplay::Present(const uint32_t* frame) {
  lastFrame_.assign(frame, frame + kFramePixels);
  if (!presentAtWait_) {
    Repaint();
    return;
  }
  const Uint64 now = SDL_GetTicks64();
  if (!pending_) {
    pending_ = true;
    pendingSince_ = now;
  } else if (now - pendingSince_ >= kLongestHoldMs) {
    // A loop that draws without ever waiting still shows its pictures, a frame period apart.
    Repaint();
  }
}

void SdlDisplay::ShowPending() {
  if (pending_) {
    Repaint();
  }
}

void SdlDisplay::Repaint() {
  pending_ = false;
  if (renderer_ == nullptr) {
    return;
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, SDL_ALPHA_OPAQUE);
  SDL_RenderClear(renderer_);
  if (!lastFrame_.empty()) {
    // Uploaded every time: a lost render device takes the texture's pixels with it.
    SDL_UpdateTexture(texture_, nullptr, lastFrame_.data(), kScreenWidth * sizeof(uint32_t));
    scaler_.Draw(renderer_, texture_);
  }
  SDL_RenderPresent(renderer_);
}

void SdlDisplay::Settle() {
  // Window managers apply a mode change asynchronously; let SDL see the answer so that a
  // following move or resize is not overridden by it.
  SDL_PumpEvents();
  SDL_Delay(1);
  SDL_PumpEvents();
}

void SdlDisplay::SetFullScreen(bool on) {
  if (window_ == nullptr || on == IsFullScreen()) {
    return;
  }
  SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  if (!on) {
    Settle();
  }
  Repaint();
}

bool SdlDisplay::IsFullScreen() {
  return window_ != nullptr && (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0;
}

WindowRect SdlDisplay::GetWindowRect() {
  if (window_ == nullptr) {
    return {};
  }
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  SDL_GetWindowPosition(window_, &left, &top);
  SDL_GetWindowSize(window_, &width, &height);
  return {.Left = left, .Top = top, .Width = width, .Height = height};
}

void SdlDisplay::SetWindowRect(const WindowRect& rect) {
  if (window_ == nullptr) {
    return;
  }
  if (rect.Width > 0 && rect.Height > 0) {
    SDL_SetWindowSize(window_, rect.Width, rect.Height);
  }
  SDL_SetWindowPosition(window_, rect.Left, rect.Top);
  Repaint();
}

WindowRect SdlDisplay::DesktopRect() {
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) {
    return {.Width = kScreenWidth, .Height = kScreenHeight};
  }
  int display = window_ != nullptr ? SDL_GetWindowDisplayIndex(window_) : 0;
  if (display < 0) {
    display = 0;
  }
  SDL_Rect bounds;
  if (SDL_GetDisplayUsableBounds(display, &bounds) != 0) {
    return {.Width = kScreenWidth, .Height = kScreenHeight};
  }
  return {.Left = bounds.x, .Top = bounds.y, .Width = bounds.w, .Height = bounds.h};
}

void SdlDisplay::FrameToWindow(int x, int y, int& windowX, int& windowY) const {
  windowX = x;
  windowY = y;
  if (renderer_ != nullptr) {
    SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x), static_cast<float>(y), &windowX, &windowY);
  }
}

void SdlDisplay::SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) {
  if (window_ == nullptr || width <= 0 || height <= 0 ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return;
  }
  // The pixels have no alpha; the surface's format says every pixel is opaque.
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels.data()), width, height, 32,
                                                         width * 4, SDL_PIXELFORMAT_RGB888);
  if (icon == nullptr) return;
  SDL_SetWindowIcon(window_, icon);
  SDL_FreeSurface(icon);
}

}  // namespace kav
