#include "platform/web/web_display.h"

#include "platform/web/web_js.h"

namespace kav {

void WebDisplay::ShowMainWindow() {
  kav_web_init();
}

void WebDisplay::Present(const uint32_t* frame) {
  pending_ = frame;
}

void WebDisplay::Flush() {
  if (pending_ == nullptr) return;
  // The canvas takes bytes R, G, B, A; turned here, where it is quickest.
  rgba_.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);
  for (size_t i = 0; i < rgba_.size(); ++i) {
    const uint32_t p = pending_[i];
    rgba_[i] = 0xFF000000u | ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
  }
  pending_ = nullptr;
  kav_web_present(rgba_.data());
}

void WebDisplay::SetFullScreen(bool on) {
  kav_web_set_fullscreen(on ? 1 : 0);
}

bool WebDisplay::IsFullScreen() {
  return kav_web_is_fullscreen() != 0;
}

WindowRect WebDisplay::GetWindowRect() {
  int32_t r[4] = {};
  kav_web_canvas_rect(r);
  return {r[0], r[1], r[2], r[3]};
}

void WebDisplay::SetWindowRect(const WindowRect& /*rect*/) {}

WindowRect WebDisplay::DesktopRect() {
  int32_t r[4] = {};
  kav_web_desktop_rect(r);
  return {r[0], r[1], r[2], r[3]};
}

void WebDisplay::SetWindowIcon(const std::vector<uint32_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) return;
  kav_web_set_icon(pixels.data(), width, height);
}

}  // namespace kav
